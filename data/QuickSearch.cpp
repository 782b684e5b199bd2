#include "data/QuickSearch.h"

#include "data/SnippetSearch.h"
#include "db/UnicodeLike.h"

#include <QSet>

#include <algorithm>

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

QuickSearch::QuickSearch(QList<QuickEntry> entries, std::shared_ptr<const db::TextOrder> order)
{
    held_.reserve(entries.size());
    for (QuickEntry& entry : entries) {
        Held held{std::move(entry), {}, {}, {}, {}};
        held.name = foldedForTyping(held.entry.name);
        held.keywords = foldedForTyping(held.entry.keywords);
        held.kind = foldedForTyping(held.entry.kind);
        order->appendKey(held.entry.name.toStdString(), held.key);
        held_ << std::move(held);
    }
    std::stable_sort(held_.begin(), held_.end(), [](const Held& a, const Held& b) { return a.key < b.key; });
    for (qsizetype i = 0; i < held_.size(); ++i)
        positions_.insert(held_[i].entry.id, i);
}

QList<qint64> QuickSearch::matching(const QStringList& words, const QString& kind, const QList<qint64>& recent) const
{
    // A word without "%" or "_" is looked for as it stands, which is what
    // the pattern would do, only faster; both sides are folded already.
    struct Pattern {
        QString text;
        bool plain;
    };
    const auto patternOf = [](const QString& typed) {
        const QString folded = foldedForTyping(typed);
        const bool plain = !folded.contains(u'%') && !folded.contains(u'_');
        return Pattern{plain ? folded : likePattern(folded), plain};
    };
    QList<Pattern> patterns;
    for (const QString& word : words)
        patterns << patternOf(word);
    const Pattern kindPattern = patternOf(kind);
    // A null name or keywords, as the database's NULL, is found by no word.
    const auto found = [](const Pattern& pattern, const QString& text) {
        return !text.isNull() && (pattern.plain ? text.contains(pattern.text) : db::likeMatches(pattern.text, text));
    };
    QList<qint64> ids;
    for (const Held& held : held_) {
        const bool wordFound = patterns.isEmpty() || std::any_of(patterns.cbegin(), patterns.cend(), [&](const Pattern& p) {
                                   return found(p, held.name) || found(p, held.keywords);
                               });
        if (wordFound && (kind.isEmpty() || found(kindPattern, held.kind)))
            ids << held.entry.id;
    }
    if (!words.isEmpty() || !kind.isEmpty() || recent.isEmpty())
        return ids;
    QList<qint64> ordered;
    QSet<qint64> first;
    for (const qint64 id : recent)
        if (positions_.contains(id) && !first.contains(id)) {
            ordered << id;
            first.insert(id);
        }
    for (const qint64 id : ids)
        if (!first.contains(id))
            ordered << id;
    return ordered;
}

const QuickEntry* QuickSearch::entry(qint64 id) const
{
    const auto at = positions_.constFind(id);
    return at == positions_.constEnd() ? nullptr : &held_[*at].entry;
}

}  // namespace vorlin::search
