#include "data/QuickSearch.h"

#include "data/SnippetSearch.h"
#include "db/UnicodeLike.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace vorlin::search {

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

QuickSearch::QuickSearch(const QList<QuickEntry>& entries, const db::TextOrder& order)
{
    for (const QuickEntry& entry : entries) {
        const QByteArray name = entry.name.toUtf8();
        const QByteArray kind = entry.kind.toUtf8();
        const QByteArray keywords = entry.keywords.toUtf8();
        add(entry.id, name.toStdString(), kind.toStdString(), keywords.toStdString(), entry.name.isNull(),
            entry.kind.isNull(), entry.keywords.isNull());
    }
    finish(order);
}

QuickSearch::Text QuickSearch::store(std::string_view text, bool null)
{
    Text stored{std::uint32_t(bytes_.size()), std::uint32_t(text.size()), null};
    bytes_.append(text);
    return stored;
}

void QuickSearch::add(qint64 id, std::string_view name, std::string_view kind, std::string_view keywords,
                      bool nameNull, bool kindNull, bool keywordsNull)
{
    rows_.push_back({id, store(name, nameNull), store(kind, kindNull), store(keywords, keywordsNull)});
}

void QuickSearch::finish(const db::TextOrder& order)
{
    // The keys live only while the names are put in order.
    std::vector<std::string> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        order.appendKey(view(rows_[i].name), keys[i]);
    std::vector<std::uint32_t> places(rows_.size());
    std::iota(places.begin(), places.end(), 0u);
    std::stable_sort(places.begin(), places.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    keys = {};
    std::vector<Row> ordered;
    ordered.reserve(rows_.size());
    for (const std::uint32_t place : places)
        ordered.push_back(rows_[place]);
    rows_.swap(ordered);
    byId_.clear();
    byId_.reserve(rows_.size());
    for (std::uint32_t i = 0; i < rows_.size(); ++i)
        byId_.push_back({rows_[i].id, i});
    std::sort(byId_.begin(), byId_.end());
}

QList<qint64> QuickSearch::matching(const QStringList& words, const QString& kind, const QList<qint64>& recent) const
{
    // Each typed text is a LIKE pattern "%text%" ("%" and "_" as they come),
    // folded for typing as the texts it is tried on.
    const auto patternOf = [](const QString& typed) {
        return db::CompiledLike(likePattern(typed), db::CompiledLike::Folding::CaseAndAccents);
    };
    std::vector<db::CompiledLike> patterns;
    for (const QString& word : words)
        patterns.push_back(patternOf(word));
    const db::CompiledLike kindPattern = patternOf(kind);
    // A null name or keywords, as the database's NULL, is found by no word.
    const auto found = [&](const db::CompiledLike& pattern, const Text& text) {
        return !text.null && pattern.matchesUtf8(view(text));
    };
    QList<qint64> ids;
    for (const Row& row : rows_) {
        const bool wordFound = patterns.empty() || std::any_of(patterns.cbegin(), patterns.cend(), [&](const auto& p) {
                                   return found(p, row.name) || found(p, row.keywords);
                               });
        if (wordFound && (kind.isEmpty() || found(kindPattern, row.kind)))
            ids << row.id;
    }
    if (!words.isEmpty() || !kind.isEmpty() || recent.isEmpty())
        return ids;
    QList<qint64> ordered;
    QSet<qint64> first;
    for (const qint64 id : recent)
        if (find(id) && !first.contains(id)) {
            ordered << id;
            first.insert(id);
        }
    for (const qint64 id : ids)
        if (!first.contains(id))
            ordered << id;
    return ordered;
}

const QuickSearch::Row* QuickSearch::find(qint64 id) const
{
    const auto at = std::lower_bound(byId_.begin(), byId_.end(), std::pair<qint64, std::uint32_t>{id, 0});
    return at != byId_.end() && at->first == id ? &rows_[at->second] : nullptr;
}

QString QuickSearch::string(const Text& text) const
{
    if (text.null)
        return {};
    const std::string_view bytes = view(text);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

std::optional<QuickEntry> QuickSearch::entry(qint64 id) const
{
    const Row* row = find(id);
    if (!row)
        return std::nullopt;
    return QuickEntry{row->id, string(row->name), string(row->kind), string(row->keywords)};
}

}  // namespace vorlin::search
