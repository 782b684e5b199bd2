#include "db/Connection.h"

#include "common/AwayFromGuiThread.h"

#include "db/PostgresStore.h"
#include "db/SqliteStore.h"
#include "db/UnicodeLike.h"

namespace vorlin::db {

Connection::~Connection()
{
    close();
}

void Connection::setConnectionString(const QString& text)
{
    close();
    connectionString_ = text;
}

QString Connection::itemOf(const QString& connectionString, const QString& key)
{
    qsizetype start = 0;
    while (start < connectionString.size()) {
        const qsizetype equals = connectionString.indexOf(u'=', start);
        if (equals < 0)
            break;
        const QString name = connectionString.sliced(start, equals - start).trimmed();
        const qsizetype valueStart = equals + 1;
        qsizetype valueEnd;
        QString value;
        const QChar quote = valueStart < connectionString.size() ? connectionString[valueStart] : QChar();
        if (quote == u'"' || quote == u'\'') {
            // Inside quotes a doubled quote stands for one.
            qsizetype i = valueStart + 1;
            while (i < connectionString.size()) {
                if (connectionString[i] == quote) {
                    if (i + 1 < connectionString.size() && connectionString[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    break;
                }
                value += connectionString[i++];
            }
            valueEnd = connectionString.indexOf(u';', i);
        } else {
            valueEnd = connectionString.indexOf(u';', valueStart);
            value = connectionString.sliced(valueStart, (valueEnd < 0 ? connectionString.size() : valueEnd) - valueStart);
        }
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
        if (valueEnd < 0)
            break;
        start = valueEnd + 1;
    }
    return {};
}

QString Connection::quotedValue(const QString& value)
{
    const bool plain = !value.contains(u';') && !value.startsWith(u'"') && !value.startsWith(u'\'');
    if (plain)
        return value;
    if (!value.contains(u'"'))
        return u'"' + value + u'"';
    if (!value.contains(u'\''))
        return u'\'' + value + u'\'';
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

void Connection::open()
{
    if (store_)
        return;
    const QString file = dataSourceOf(connectionString_);
    if (file.isEmpty())
        throw DatabaseError(QStringLiteral("The connection string names no data source"));
    if (itemOf(connectionString_, QStringLiteral("Provider")).compare(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        store_ = std::make_unique<PostgresStore>(PostgresStore::Address{
            file, itemOf(connectionString_, QStringLiteral("User ID")), password_, itemOf(connectionString_, QStringLiteral("Mirror"))});
        listenForAnnouncements();
        away_ = store_->isAway();
        failedReconnects_ = 0;
        watch();
        return;
    }
    Database database(file);
    registerUnicodeLike(database.handle());
    // A rollback journal keeps the database in its one file, so that a copy of
    // the data folder is a whole database. A file in WAL mode is turned back
    // when no other program holds it.
    try {
        database.execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    } catch (const DatabaseError&) {
    }
    store_ = std::make_unique<SqliteStore>(std::move(database));
}

void Connection::listenForAnnouncements()
{
    const int socket = store_->announcementSocket();
    if (socket < 0)
        return;
    announcements_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    connect(announcements_.get(), &QSocketNotifier::activated, this, &Connection::takeAnnouncements);
    // Told on whichever thread ran the statement that brought them along.
    store_->announcementsWaiting = [this] { handToThreadOf(this, [this] { takeAnnouncements(); }); };
}

void Connection::takeAnnouncements()
{
    if (!store_)
        return;
    if (store_->isBroken()) {
        if (announcements_)
            announcements_->setEnabled(false);
        return;
    }
    if (store_->takeAnnouncements())
        Q_EMIT changedElsewhere();
}

void Connection::watch()
{
    watch_.setSingleShot(true);
    disconnect(&watch_, nullptr, this, nullptr);
    connect(&watch_, &QTimer::timeout, this, &Connection::awayCheck);
    watch_.start(2000);
}

void Connection::awayCheck()
{
    if (!store_)
        return;
    constexpr int kIntervalsMs[] = {2000, 5000, 10000, 30000};
    constexpr int kAnswerAwaitedMs = 100;
    int nextCheckMs = 0;
    if (store_->isBroken()) {
        switch (store_->reconnect()) {
        case Store::Reconnection::Done:
            failedReconnects_ = 0;
            listenForAnnouncements();
            Q_EMIT changedElsewhere();  // what came meanwhile is caught up
            break;
        case Store::Reconnection::Failed:
            failedReconnects_ = std::min(failedReconnects_ + 1, int(std::size(kIntervalsMs)) - 1);
            break;
        case Store::Reconnection::Pending:
            nextCheckMs = kAnswerAwaitedMs;
            break;
        }
    }
    if (store_->isAway() != away_) {
        away_ = store_->isAway();
        Q_EMIT awayChanged(away_);
    }
    watch_.start(nextCheckMs > 0 ? nextCheckMs : kIntervalsMs[failedReconnects_]);
}

void Connection::close()
{
    if (!store_)
        return;
    Q_EMIT aboutToClose();
    watch_.stop();
    announcements_.reset();
    store_.reset();
}

Store& Connection::store()
{
    if (!store_)
        throw DatabaseError(QStringLiteral("Connection is closed"));
    return *store_;
}

bool Connection::isLocalFile() const
{
    return dynamic_cast<SqliteStore*>(store_.get()) != nullptr;
}

QString Connection::fileForReaders() const
{
    return isLocalFile() ? dataSourceOf(connectionString_) : itemOf(connectionString_, QStringLiteral("Mirror"));
}

Database& Connection::database()
{
    auto* file = dynamic_cast<SqliteStore*>(&store());
    if (!file)
        throw DatabaseError(QStringLiteral("The library is not a file of this computer"));
    return file->database();
}

}  // namespace vorlin::db
