#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace vorlin::test {

// A PostgreSQL server of the test's own: a cluster made in a temporary
// folder, listening on a free loopback port and a private socket folder,
// run by an unprivileged user (the server refuses root), stopped and
// removed at the end of the test program.
class PostgresServer {
public:
    // Started at first use; one for the test program.
    static PostgresServer& shared();
    ~PostgresServer();

    int port() const { return port_; }
    // libpq's address of a database on it.
    QString uri(const QString& database) const;

    // A new, empty database owned by the login role "vorlin".
    QString newDatabase();
    // Runs statements as the server's superuser; the first row's first
    // value, or empty. Raises std::runtime_error with the server's words.
    QString run(const QString& database, const QString& sql);

    // A login role that must give its password over the network.
    void addRoleWithPassword(const QString& role, const QString& password);

    // The server killed without a word, as by a crash or a pulled cable;
    // started again with every committed row.
    void kill();
    void start();

private:
    PostgresServer();
    QStringList asServerUser(const QString& program) const;
    bool runTool(const QString& program, const QStringList& arguments) const;

    QTemporaryDir dir_;
    QString binaries_;
    int port_ = 0;
    int databases_ = 0;
};

}  // namespace vorlin::test
