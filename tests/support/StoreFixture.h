#pragma once

#include "data/DM_Unit.h"
#include "db/Sqlite.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace vorlin::test {

struct Snippet {
    QString nazev;
    QString druh;
    QString obsah;
    QString tag;
};

// A data folder with blanks and diacritics in its path, holding a copy of the
// delivered database, and the data module opened on it.
class StoreFixture : public ::testing::Test {
protected:
    StoreFixture();
    ~StoreFixture() override;

    QString databaseFile() const { return dataDir + QStringLiteral("vorlin.mdb"); }

    // From here on the library is a fresh database on the test's own
    // PostgreSQL server, made by the program; the helpers below write and
    // read it there.
    void useServer();
    bool onServer() const { return !serverDatabase.isEmpty(); }
    LibraryAddress serverLibrary() const;

    // Rows written straight into the file, as another program would.
    void addRows(const QList<Snippet>& snippets);
    void runInFile(const QString& sql);
    // The key of the first stored row with the name; -1 for none.
    qint64 idInFile(const QString& name);
    QVariant valueInFile(qint64 id, const QString& column);
    int rowsInFile();

    // The copy of the office library kept here is made in the background;
    // cases that take the server away or copy the data folder need it whole.
    void waitForTheCopyKeptHere();
    // A new data module, connected and opened as at start-up.
    void openStore();
    db::Query& query() { return dm->Vorlin_ADOQuery; }

    // The names of the listed rows, in the query's order.
    QStringList listedNames();

    QString serverDatabase;  // empty: the file
    QString serverUser = QStringLiteral("vorlin");
    TempDir dir;
    QString dataDir;
    std::unique_ptr<TDM> dm;
};

}  // namespace vorlin::test
