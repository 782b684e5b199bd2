#include "support/StoreFixture.h"

#include "common/Paths.h"

#include <QDir>
#include <QFile>

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

void StoreFixture::addRows(const QList<Snippet>& snippets)
{
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
    db::Database database(databaseFile());
    database.execute(sql);
}

QVariant StoreFixture::valueInFile(qint64 id, const QString& column)
{
    db::Database database(databaseFile());
    db::Statement statement(database, QStringLiteral("SELECT %1 FROM vorlin WHERE ID = ?").arg(column));
    statement.bind(1, id);
    return statement.step() ? statement.column(0) : QVariant();
}

int StoreFixture::rowsInFile()
{
    db::Database database(databaseFile());
    db::Statement statement(database, QStringLiteral("SELECT count(*) FROM vorlin"));
    statement.step();
    return statement.column(0).toInt();
}

void StoreFixture::openStore()
{
    dm.reset();
    dm = std::make_unique<TDM>();
    dm->DataModuleCreate();
}

QStringList StoreFixture::listedNames()
{
    QStringList names;
    for (int row = 0; row < query().recordCount(); ++row)
        names << query().valueAt(row, QStringLiteral("nazev")).toString();
    return names;
}

}  // namespace vorlin::test
