#pragma once

#include "db/TextOrder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin::search {

// One snippet as the quick search sees it: no body.
struct QuickEntry {
    qint64 id = 0;
    QString name;
    QString kind;
    QString keywords;
};

// A text as it is matched when typed in a hurry: its letters without their
// accents ("Čížek" → "cizek"), in one case.
QString foldedForTyping(const QString& text);

// The snippets held for the quick-insert pop-up: their names, kinds and
// keywords as UTF-8 in one store, in the user's alphabetical order by name.
// Its search keeps the main window's rules (any of the words found in the
// name or the keywords, "%" and "_" as there, the kind found in the kind),
// with accents and case left aside on both sides; texts are folded as they
// are matched, never held folded.
class QuickSearch {
public:
    QuickSearch() = default;
    QuickSearch(const QList<QuickEntry>& entries, const db::TextOrder& order);

    // A snippet more, before finish(); a null text is the database's NULL.
    void add(qint64 id, std::string_view name, std::string_view kind, std::string_view keywords, bool nameNull,
             bool kindNull, bool keywordsNull);
    // Puts the snippets in the order of their names.
    void finish(const db::TextOrder& order);

    // The ids of the matching snippets. With no words and no kind the
    // snippets inserted lately come first, most recent first.
    QList<qint64> matching(const QStringList& words, const QString& kind, const QList<qint64>& recent = {}) const;

    std::optional<QuickEntry> entry(qint64 id) const;
    qsizetype size() const { return qsizetype(rows_.size()); }

private:
    struct Text {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        bool null = true;
    };
    struct Row {
        qint64 id;
        Text name;
        Text kind;
        Text keywords;
    };
    Text store(std::string_view text, bool null);
    std::string_view view(const Text& text) const { return {bytes_.data() + text.offset, text.size}; }
    QString string(const Text& text) const;
    const Row* find(qint64 id) const;

    std::string bytes_;
    std::vector<Row> rows_;  // in alphabetical order once finished
    std::vector<std::pair<qint64, std::uint32_t>> byId_;  // id → place in rows_, sorted by id
};

}  // namespace vorlin::search
