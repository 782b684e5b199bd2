#pragma once

#include "db/TextOrder.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

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

// The snippets held for the quick-insert pop-up. Its search keeps the main
// window's rules (any of the words found in the name or the keywords, "%" and
// "_" as there, the kind found in the kind), with accents and case left
// aside on both sides; the list is in the user's alphabetical order by name.
class QuickSearch {
public:
    QuickSearch(QList<QuickEntry> entries, std::shared_ptr<const db::TextOrder> order);

    // The ids of the matching snippets. With no words and no kind the
    // snippets inserted lately come first, most recent first.
    QList<qint64> matching(const QStringList& words, const QString& kind, const QList<qint64>& recent = {}) const;

    const QuickEntry* entry(qint64 id) const;

private:
    struct Held {
        QuickEntry entry;
        QString name;  // folded, null when the name is
        QString keywords;
        QString kind;
        std::string key;  // the name's sort key
    };
    QList<Held> held_;  // in alphabetical order
    QHash<qint64, qsizetype> positions_;  // id → place in held_
};

}  // namespace vorlin::search
