#include "data/RecentInsertions.h"

#include <QFile>
#include <QSaveFile>

namespace vorlin {

RecentInsertions::RecentInsertions(QString file) : file_(std::move(file))
{
    QFile in(file_);
    if (!in.open(QIODevice::ReadOnly))
        return;
    while (!in.atEnd() && ids_.size() < kMostRecent) {
        bool number = false;
        const qint64 id = in.readLine().trimmed().toLongLong(&number);
        if (number && !ids_.contains(id))
            ids_ << id;
    }
}

bool RecentInsertions::inserted(qint64 id)
{
    ids_.removeAll(id);
    ids_.prepend(id);
    if (ids_.size() > kMostRecent)
        ids_.resize(kMostRecent);
    QSaveFile out(file_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const qint64 each : ids_)
        out.write(QByteArray::number(each) + '\n');
    return out.commit();
}

}  // namespace vorlin
