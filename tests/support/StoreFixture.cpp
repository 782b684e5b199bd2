#include "support/StoreFixture.h"

#include "common/Paths.h"
#include "db/PostgresStore.h"
#include "db/ServerMirror.h"
#include "support/PostgresServer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QFile>

#include <optional>

namespace vorlin::test {

StoreFixture::StoreFixture()
{
    dataDir = dir.path() + QStringLiteral("Jan Novák/Data (účetní)/");
    QDir().mkpath(dataDir);
    QDir().mkpath(dataDir + QStringLiteral("hledani"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile()));
    QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    setPaths({QStringLiteral(VORLIN_EXE_DIR), dataDir, dataDir + QStringLiteral("hledani/")});
}

StoreFixture::~StoreFixture()
{
    dm.reset();
}

void StoreFixture::useServer()
{
    serverDatabase = PostgresServer::shared().newDatabase();
    // The program makes its table at the first connection.
    db::PostgresStore made({serverLibrary().server, serverLibrary().user, QString(), QString()});
}

LibraryAddress StoreFixture::serverLibrary() const
{
    return {PostgresServer::shared().uri(serverDatabase), serverUser};
}

namespace {

QString literal(const QString& text)
{
    if (text.isNull())
        return QStringLiteral("NULL");
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

}  // namespace

void StoreFixture::addRows(const QList<Snippet>& snippets)
{
    if (onServer()) {
        QStringList rows;
        for (const Snippet& s : snippets)
            rows << QStringLiteral("(%1, %2, %3, %4)").arg(literal(s.nazev), literal(s.druh), literal(s.obsah), literal(s.tag));
        runInFile(QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ") + rows.join(QStringLiteral(", ")));
        return;
    }
    db::Database database(databaseFile());
    db::Transaction transaction(database);
    db::Statement statement(database, QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES (?, ?, ?, ?)"));
    for (const Snippet& s : snippets) {
        statement.reset();
        statement.bind(1, s.nazev.isNull() ? QVariant() : QVariant(s.nazev));
        statement.bind(2, s.druh.isNull() ? QVariant() : QVariant(s.druh));
        statement.bind(3, s.obsah.isNull() ? QVariant() : QVariant(s.obsah));
        statement.bind(4, s.tag.isNull() ? QVariant() : QVariant(s.tag));
        statement.step();
    }
    transaction.commit();
}

void StoreFixture::runInFile(const QString& sql)
{
    if (onServer()) {
        // A running program hears of another's change on its own: the
        // test goes on when it has.
        std::optional<QSignalSpy> heard;
        if (dm)
            heard.emplace(&dm->ADOConnection1, &db::Connection::changedElsewhere);
        PostgresServer::shared().run(serverDatabase, sql);
        static const QRegularExpression changesRows(QStringLiteral(R"(^\s*(INSERT|UPDATE|DELETE)\b)"),
                                                    QRegularExpression::CaseInsensitiveOption);
        if (heard && heard->isEmpty() && changesRows.match(sql).hasMatch()) {
            EXPECT_TRUE(heard->wait(5000)) << "no announcement of: " << sql.toStdString();
        }
        return;
    }
    db::Database database(databaseFile());
    database.execute(sql);
}

qint64 StoreFixture::idInFile(const QString& name)
{
    if (onServer()) {
        const QString found = PostgresServer::shared().run(
            serverDatabase, QStringLiteral("SELECT min(\"ID\") FROM vorlin WHERE nazev = %1").arg(literal(name)));
        return found.isEmpty() ? -1 : found.toLongLong();
    }
    db::Database database(databaseFile());
    db::Statement statement(database, QStringLiteral("SELECT min(ID) FROM vorlin WHERE nazev = ?"));
    statement.bind(1, name);
    return statement.step() && !statement.column(0).isNull() ? statement.column(0).toLongLong() : -1;
}

QVariant StoreFixture::valueInFile(qint64 id, const QString& column)
{
    if (onServer()) {
        const QString found = PostgresServer::shared().run(
            serverDatabase, QStringLiteral("SELECT coalesce(\"%1\"::text, '') || '.' FROM vorlin WHERE \"ID\" = %2").arg(column).arg(id));
        return found.isEmpty() ? QVariant() : QVariant(found.chopped(1));
    }
    db::Database database(databaseFile());
    db::Statement statement(database, QStringLiteral("SELECT %1 FROM vorlin WHERE ID = ?").arg(column));
    statement.bind(1, id);
    return statement.step() ? statement.column(0) : QVariant();
}

int StoreFixture::rowsInFile()
{
    if (onServer())
        return PostgresServer::shared().run(serverDatabase, QStringLiteral("SELECT count(*) FROM vorlin")).toInt();
    db::Database database(databaseFile());
    db::Statement statement(database, QStringLiteral("SELECT count(*) FROM vorlin"));
    statement.step();
    return statement.column(0).toInt();
}

void StoreFixture::openStore()
{
    dm.reset();
    dm = std::make_unique<TDM>();
    if (onServer())
        dm->library = serverLibrary();
    dm->DataModuleCreate();
    waitForTheCopyKeptHere();
}

void StoreFixture::waitForTheCopyKeptHere()
{
    for (int tries = 0; onServer() && tries < 200; ++tries) {
        if (db::ServerMirror::holdsCopyOf(dataDir + QStringLiteral("knihovna_serveru.mdb"), serverLibrary().server))
            return;
        QTest::qWait(50);
    }
}

QStringList StoreFixture::listedNames()
{
    QStringList names;
    for (int row = 0; row < query().recordCount(); ++row)
        names << query().valueAt(row, QStringLiteral("nazev")).toString();
    return names;
}

}  // namespace vorlin::test
