#include "data/QuickSearch.h"

#include "common/Error.h"
#include "data/SnippetSearch.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace vorlin::search {

QStringList quickSearchColumns()
{
    return {QStringLiteral("ID"), QStringLiteral("nazev"), QStringLiteral("druh"), QStringLiteral("tag")};
}

QString foldedForTyping(const QString& text)
{
    if (text.isNull())
        return {};
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    return folded.toCaseFolded();
}

namespace {

QVariant nullable(const QString& text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

int columnNamed(const QStringList& columns, const QString& name)
{
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    throw Error(QStringLiteral("The snippets have no column %1").arg(name));
}

}  // namespace

QuickSearch::QuickSearch(std::shared_ptr<const db::RowSet> rows, const QStringList& columns,
                         std::shared_ptr<const std::vector<Place>> byName)
    : rows_(std::move(rows)),
      id_(columnNamed(columns, QStringLiteral("ID"))),
      name_(columnNamed(columns, QStringLiteral("nazev"))),
      kind_(columnNamed(columns, QStringLiteral("druh"))),
      keywords_(columnNamed(columns, QStringLiteral("tag"))),
      byName_(std::move(byName)),
      search_({.set = rows_.get(), .columns = columns, .order = byName_, .version = db::newRowsVersion(), .letters = {}, .letterColumns = {}})
{
}

void QuickSearch::useLetters(std::shared_ptr<const std::vector<db::RowLetters>> letters)
{
    db::RowSearch::Rows rows = search_.rows();
    rows.letters = std::move(letters);
    rows.letterColumns = QStringList{QStringLiteral("nazev"), QStringLiteral("tag")};
    search_ = db::RowSearch(std::move(rows));
}

QuickSearch::QuickSearch(const QList<QuickEntry>& entries, const db::TextOrder& order)
{
    auto rows = std::make_shared<db::RowSet>();
    rows->clear(4);
    for (const QuickEntry& entry : entries)
        rows->insertRow(rows->rowCount(), {entry.id, nullable(entry.name), nullable(entry.kind), nullable(entry.keywords)});
    std::vector<Place> byName = rows->orderBy(1, false, order);
    *this = QuickSearch(std::move(rows), quickSearchColumns(), std::move(byName));
}

qint64 QuickSearch::idAt(Place place) const
{
    return rows_->integerAt(int(place), id_);
}

QuickEntry QuickSearch::entryAt(Place place) const
{
    const auto text = [&](int column) { return rows_->value(int(place), column).toString(); };
    return QuickEntry{idAt(place), text(name_), text(kind_), text(keywords_)};
}

QuickSearch::Listing::Listing(std::vector<Place> lately, std::shared_ptr<const std::vector<Place>> byName)
    : first_(std::move(lately)), rest_(std::move(byName))
{
    const QSet<Place> first(first_.cbegin(), first_.cend());
    for (std::size_t at = 0; at < rest_->size() && leftOut_.size() < std::size_t(first.size()); ++at)
        if (first.contains((*rest_)[at]))
            leftOut_.push_back(at);
}

QuickSearch::Place QuickSearch::Listing::operator[](std::size_t at) const
{
    if (at < first_.size())
        return first_[at];
    // The rest's place, past those of the first that stand before it.
    std::size_t inRest = at - first_.size();
    for (const std::size_t leftOut : leftOut_)
        if (leftOut <= inRest)
            ++inRest;
    return (*rest_)[inRest];
}

std::vector<QuickSearch::Place> QuickSearch::Listing::all() const
{
    std::vector<Place> places;
    places.reserve(size());
    for (std::size_t at = 0; at < size(); ++at)
        places.push_back((*this)[at]);
    return places;
}

QuickSearch::Listing QuickSearch::matching(const QStringList& words, const QString& kind, const QList<qint64>& recent,
                                           Found* last) const
{
    if (words.isEmpty() && kind.isEmpty()) {
        if (last)
            *last = Found();
        // Every snippet: the lately inserted first, as they were inserted
        // (those gone from the table left out), then the rest by name.
        const QSet<qint64> lately(recent.cbegin(), recent.cend());
        QHash<qint64, Place> latelyFound;
        for (Place place = 0; !lately.isEmpty() && place < Place(rows_->rowCount()); ++place)
            if (lately.contains(idAt(place)))
                latelyFound.insert(idAt(place), place);
        std::vector<Place> first;
        for (const qint64 id : recent)
            if (const auto found = latelyFound.constFind(id); found != latelyFound.cend()) {
                first.push_back(found.value());
                latelyFound.erase(found);
            }
        return Listing(std::move(first), byName_);
    }
    // The main window's search, with accents and case left aside.
    const db::RowFilter filter = selectionOf(SnippetSearch{.words = words, .kind = kind}).filter;
    Found found = search_.find(filter, db::RowSearch::Folding::CaseAndAccents, last);
    Listing listing({}, found.rows);
    if (last)
        *last = std::move(found);
    return listing;
}

}  // namespace vorlin::search
