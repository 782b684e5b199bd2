#include "data/QuickSearch.h"

#include "common/Error.h"
#include "common/InTwoHalves.h"
#include "data/SnippetSearch.h"
#include "db/InMemoryFilter.h"
#include "db/UnicodeLike.h"

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
      byName_(std::move(byName))
{
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
    for (std::size_t at = 0; at < rest_->size() && leftOut_.size() < first.size(); ++at)
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
                                           const Found* before) const
{
    if (words.isEmpty() && kind.isEmpty()) {
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
    // A search that keeps only what the one before kept tries only what that
    // one found, in the same order; the one before showed every snippet (the
    // lately inserted first) when it had no words and no kind.
    const auto filterOf = [](const QStringList& words, const QString& kind) {
        return selectionOf(SnippetSearch{.words = words, .kind = kind}).filter;
    };
    const bool narrowing = before && (!before->words.isEmpty() || !before->kind.isEmpty())
                           && db::narrows(filterOf(words, kind), filterOf(before->words, before->kind));
    const std::vector<Place>& candidates = narrowing ? before->places : *byName_;
    // Each typed text is a LIKE pattern "%text%" ("%" and "_" as they come),
    // folded for typing as the texts it is tried on.
    const auto patternOf = [](const QString& typed) {
        return db::CompiledLike(likePattern(typed), db::CompiledLike::Folding::CaseAndAccents);
    };
    std::vector<db::CompiledLike> patterns;
    for (const QString& word : words)
        patterns.push_back(patternOf(word));
    const db::CompiledLike kindPattern = patternOf(kind);
    // A null name or keywords, as the database's NULL, is found by no word;
    // a value that is no text, in its text form.
    const db::RowSet& rows = *rows_;
    const auto found = [&](const db::CompiledLike& pattern, Place place, int column) {
        std::string_view text;
        if (rows.textAt(int(place), column, &text))
            return pattern.matchesUtf8(text);
        const QVariant value = rows.value(int(place), column);
        return !value.isNull() && pattern.matchesUtf8(value.toString().toStdString());
    };
    std::vector<std::uint64_t> required;
    for (const db::CompiledLike& pattern : patterns)
        required.push_back(pattern.requiredLetters());
    const std::uint64_t* letters =
        letters_ && letters_->size() == std::size_t(rows.rowCount()) ? letters_->data() : nullptr;
    const auto holds = [](std::uint64_t letters, std::uint64_t required) { return (letters & required) == required; };
    // Many rows are tried in two halves at once, each half's finds kept in
    // its order.
    std::vector<Place> halves[2];
    inTwoHalves(candidates.size(), [&](int half, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const Place place = candidates[i];
            bool wordFound = patterns.empty();
            for (std::size_t word = 0; word < patterns.size() && !wordFound; ++word) {
                const std::uint64_t held = letters ? letters[place] : ~std::uint64_t(0);
                wordFound = (holds(held, required[word]) && found(patterns[word], place, name_))
                            || (holds(held >> 32, required[word]) && found(patterns[word], place, keywords_));
            }
            if (wordFound && (kind.isEmpty() || found(kindPattern, place, kind_)))
                halves[half].push_back(place);
        }
    });
    std::vector<Place> places = std::move(halves[0]);
    places.insert(places.end(), halves[1].begin(), halves[1].end());
    return Listing(std::move(places));
}

}  // namespace vorlin::search
