#include "support/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QFile>
#include <QTcpServer>
#include <QThread>

#include <libpq-fe.h>

#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

namespace vorlin::test {
namespace {

int freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace

PostgresServer& PostgresServer::shared()
{
    static PostgresServer server;
    return server;
}

PostgresServer::PostgresServer()
{
    for (const char* version : {"15", "16", "17"}) {
        const QString folder = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(QLatin1String(version));
        if (QFile::exists(folder + QStringLiteral("initdb")))
            binaries_ = folder;
    }
    if (binaries_.isEmpty())
        throw std::runtime_error("PostgreSQL's initdb is not installed (scripts/deps test installs it)");
    // Root runs the server as the packages' own user.
    if (::geteuid() == 0) {
        const passwd* user = ::getpwnam("postgres");
        if (!user || ::chown(dir_.path().toLocal8Bit().constData(), user->pw_uid, user->pw_gid) != 0)
            throw std::runtime_error("the folder of the test server cannot be given to the user postgres");
    }
    if (!runTool(QStringLiteral("initdb"), {QStringLiteral("-N"), QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")),
                                            QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-U"),
                                            QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8")}))
        throw std::runtime_error("initdb failed");
    port_ = freeLoopbackPort();
    start();
    // A test program that crashes leaves no server behind: a watcher ends
    // it and removes its folder once the program is gone.
    const QString stop = asServerUser(QStringLiteral("pg_ctl")).join(u' ')
        + QStringLiteral(" -D '%1/data' -m immediate stop").arg(dir_.path());
    QProcess::startDetached(QStringLiteral("sh"),
                            {QStringLiteral("-c"), QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; %2 >/dev/null 2>&1; rm -rf '%3'")
                                                       .arg(QCoreApplication::applicationPid())
                                                       .arg(stop, dir_.path())});
    run(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE vorlin LOGIN"));
}

PostgresServer::~PostgresServer()
{
    runTool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                                       QStringLiteral("immediate"), QStringLiteral("stop")});
}

QStringList PostgresServer::asServerUser(const QString& program) const
{
    if (::geteuid() == 0)
        return {QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"),
                binaries_ + program};
    return {binaries_ + program};
}

bool PostgresServer::runTool(const QString& program, const QStringList& arguments) const
{
    QStringList command = asServerUser(program) + arguments;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s: %s", qPrintable(program), process.readAll().constData());
        return false;
    }
    return true;
}

void PostgresServer::start()
{
    const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                .arg(dir_.path())
                                .arg(port_);
    if (!runTool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                                            dir_.filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
                                            options, QStringLiteral("start")}))
        throw std::runtime_error("the test server did not start");
}

void PostgresServer::addRoleWithPassword(const QString& role, const QString& password)
{
    run(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, password));
    QFile rules(dir_.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!rules.open(QIODevice::ReadOnly))
        throw std::runtime_error("pg_hba.conf cannot be read");
    const QByteArray before = rules.readAll();
    rules.close();
    if (!rules.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("pg_hba.conf cannot be written");
    rules.write(QStringLiteral("host all %1 127.0.0.1/32 scram-sha-256\n").arg(role).toUtf8() + before);
    rules.close();
    run(QStringLiteral("postgres"), QStringLiteral("SELECT pg_reload_conf()"));
    // The server reads the rules again soon after: until then the role
    // gets in without its password.
    const QByteArray address = (uri(QStringLiteral("postgres")) + QStringLiteral("?user=") + role).toUtf8();
    for (int tries = 0; tries < 100; ++tries) {
        PGconn* connection = PQconnectdb(address.constData());
        const bool refused = PQstatus(connection) != CONNECTION_OK;
        PQfinish(connection);
        if (refused)
            return;
        QThread::msleep(20);
    }
    throw std::runtime_error("the server does not ask for the password");
}

void PostgresServer::kill()
{
    runTool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                                       QStringLiteral("immediate"), QStringLiteral("stop")});
}

QString PostgresServer::uri(const QString& database) const
{
    return QStringLiteral("postgresql://127.0.0.1:%1/%2").arg(port_).arg(database);
}

QString PostgresServer::newDatabase()
{
    const QString name = QStringLiteral("knihovna_%1").arg(++databases_);
    run(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 OWNER vorlin").arg(name));
    return name;
}

QString PostgresServer::run(const QString& database, const QString& sql)
{
    const QByteArray address = (uri(database) + QStringLiteral("?user=postgres")).toUtf8();
    PGconn* connection = PQconnectdb(address.constData());
    QString first;
    std::string failure;
    if (PQstatus(connection) != CONNECTION_OK) {
        failure = PQerrorMessage(connection);
    } else {
        PGresult* result = PQexec(connection, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            failure = sql.toStdString() + ": " + PQresultErrorMessage(result);
        else if (PQntuples(result) > 0 && PQnfields(result) > 0)
            first = QString::fromUtf8(PQgetvalue(result, 0, 0));
        PQclear(result);
    }
    PQfinish(connection);
    if (!failure.empty())
        throw std::runtime_error(failure);
    return first;
}

}  // namespace vorlin::test
