#pragma once

#include "db/Sqlite.h"
#include "db/Store.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QString>

#include <memory>

namespace vorlin::db {

// The one connection to the snippet database, configured by an ADO-style
// connection string whose "Data Source" item names the file. The file name is
// taken as it stands (no quotes needed), so folders with blanks and
// diacritics work; a name with ";" comes in quotes.
class Connection : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Connection() override;

    const QString& connectionString() const { return connectionString_; }
    void setConnectionString(const QString& text);

    // The value of the "Data Source" item: up to the next ";" unless quoted
    // (a doubled quote inside quotes stands for one).
    static QString dataSourceOf(const QString& connectionString) { return itemOf(connectionString, QStringLiteral("Data Source")); }
    // The value of any item, its name compared without regard to case.
    static QString itemOf(const QString& connectionString, const QString& name);

    // The password of a server that asks for one, kept for the run only.
    void setPassword(const QString& password) { password_ = password; }

    // A value as it goes into a connection string: as it stands, or in quotes
    // when it holds a ";" or begins with a quote.
    static QString quotedValue(const QString& value);

    bool isConnected() const { return store_ != nullptr; }

    // Opens the library named by the connection string: the file of its
    // "Data Source", or with "Provider=PostgreSQL" the server at that
    // address. Raises DatabaseError with the engine's text when it cannot be
    // opened.
    void open();
    void close();

    // The open library; raises DatabaseError when not connected.
    Store& store();
    // The open database file; raises DatabaseError when not connected or
    // when the library is not a file of this computer.
    Database& database();
    bool isLocalFile() const;
    // A database file of this computer that other readers may open on
    // connections of their own: the library's file, or the copy of the
    // server's library kept here (current while the server is reached).
    QString fileForReaders() const;

    // Takes what other clients announced meanwhile (changedElsewhere when
    // they changed the library); done by itself whenever events are served.
    void takeAnnouncements();

Q_SIGNALS:
    void aboutToClose();
    // Another client changed the library.
    void changedElsewhere();
    // The library went away (its last copy here is read) or came back.
    void awayChanged(bool away);

private:
    QString connectionString_;
    void listenForAnnouncements();
    // Looks after a library on a server: notices it went away and tries
    // to reach it again, at growing intervals.
    void watch();
    void awayCheck();

    bool away_ = false;
    int failedReconnects_ = 0;
    QTimer watch_;

    QString password_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<QSocketNotifier> announcements_;
};

}  // namespace vorlin::db
