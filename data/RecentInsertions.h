#pragma once

#include <QList>
#include <QString>

namespace vorlin {

// The snippets inserted lately, most recent first, kept in a file of their
// own in the data folder (never in the snippet table), so that the order
// outlives the run. At most kMostRecent are kept; a file that cannot be read
// is an empty list.
class RecentInsertions {
public:
    static constexpr int kMostRecent = 50;

    explicit RecentInsertions(QString file);

    const QList<qint64>& ids() const { return ids_; }

    // The snippet goes to the front and the file is written again (whole,
    // or not at all). False when it could not be written; the list in memory
    // has the snippet in front all the same.
    bool inserted(qint64 id);

private:
    QString file_;
    QList<qint64> ids_;
};

}  // namespace vorlin
