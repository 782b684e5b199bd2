#pragma once

#include "db/RowSearch.h"
#include "db/RowSet.h"
#include "db/TextOrder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
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

// The columns of a snippet the quick search needs, its name second.
QStringList quickSearchColumns();

// The snippets the quick-insert pop-up searches: their ids, names, kinds and
// keywords as rows held in memory (usually the main list's own copy of the
// table, shared), in the user's alphabetical order by name. Its search keeps
// the main window's rules (any of the words found in the name or the
// keywords, "%" and "_" as there, the kind found in the kind), with accents
// and case left aside on both sides; texts are folded as they are matched,
// never held folded.
class QuickSearch {
public:
    QuickSearch() = default;
    // Rows with the columns ID, nazev, druh and tag (in any order, others
    // beside them), and their places in the order of the names.
    QuickSearch(std::shared_ptr<const db::RowSet> rows, const QStringList& columns,
                std::shared_ptr<const std::vector<std::uint32_t>> byName);
    QuickSearch(std::shared_ptr<const db::RowSet> rows, const QStringList& columns, std::vector<std::uint32_t> byName)
        : QuickSearch(std::move(rows), columns, std::make_shared<const std::vector<std::uint32_t>>(std::move(byName)))
    {
    }
    QuickSearch(const QList<QuickEntry>& entries, const db::TextOrder& order);

    // A snippet's place among the rows held.
    using Place = std::uint32_t;

    // A search made before, kept to narrow the next one: a word typed on
    // tries only the snippets this one found.
    using Found = db::RowSearch::Found;

    // The places a search shows, in its order: those found, or every row,
    // the lately inserted first and the rest in the order of names (shared
    // with it, not listed out).
    class Listing {
    public:
        Listing() = default;
        Listing(std::vector<Place> lately, std::shared_ptr<const std::vector<Place>> byName);

        std::size_t size() const { return first_.size() + (rest_ ? rest_->size() - leftOut_.size() : 0); }
        Place operator[](std::size_t at) const;
        std::vector<Place> all() const;

    private:
        std::vector<Place> first_;
        std::shared_ptr<const std::vector<Place>> rest_;
        std::vector<std::size_t> leftOut_;  // where the first stand in the rest, ascending
    };

    // The matching snippets. With no words and no kind, every snippet, those
    // inserted lately first, most recent first. `last`, when given, is the
    // search made before, which this one narrows when it can; it becomes
    // this one.
    Listing matching(const QStringList& words, const QString& kind, const QList<qint64>& recent = {},
                     Found* last = nullptr) const;

    // Per row, the letters its name (the low half) and its keywords (the
    // high half) hold (db::lettersOfRow): a name or keywords without a
    // word's letters are passed over untried.
    void useLetters(std::shared_ptr<const std::vector<db::RowLetters>> letters);

    qint64 idAt(Place place) const;
    QuickEntry entryAt(Place place) const;
    qsizetype size() const { return qsizetype(byName_->size()); }

private:
    std::shared_ptr<const db::RowSet> rows_ = std::make_shared<db::RowSet>();
    int id_ = -1;
    int name_ = -1;
    int kind_ = -1;
    int keywords_ = -1;
    std::shared_ptr<const std::vector<Place>> byName_ = std::make_shared<const std::vector<Place>>();
    db::RowSearch search_{{}};
};

}  // namespace vorlin::search
