#include "common/TextFile.h"
#include "common/Win1250.h"
#include "data/KindsFile.h"

#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vorlin;

namespace {

const QString kExeDir = QStringLiteral(VORLIN_EXE_DIR);

}  // namespace

TEST(DeliveredSeeds, DatabaseHoldsTheEmptySnippetTable)
{
    sqlite3* db = nullptr;
    const QByteArray path = (kExeDir + QStringLiteral("vorlin.mdb")).toUtf8();
    ASSERT_EQ(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name, type, pk FROM pragma_table_info('vorlin') ORDER BY cid", -1,
                                 &statement, nullptr),
              SQLITE_OK);
    QStringList columns;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) + u' '
                       + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)))
                       + (sqlite3_column_int(statement, 2) ? QStringLiteral(" key") : QString());
    }
    sqlite3_finalize(statement);
    EXPECT_EQ(columns, (QStringList{"ID INTEGER key", "nazev TEXT", "druh TEXT", "obsah TEXT", "tag TEXT"}));

    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM vorlin", -1, &statement, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST(DeliveredSeeds, KindsVersionAndFilterFiles)
{
    EXPECT_EQ(kinds::load(kExeDir + QStringLiteral("vorlin_druh.txt")),
              (QStringList{"adresa", "petit", "podpis"}));
    const QStringList version = splitLines(win1250::decode(readWholeFile(kExeDir + QStringLiteral("vorlin.txt"))));
    ASSERT_FALSE(version.isEmpty());
    EXPECT_EQ(version.first(), QStringLiteral("1.0"));
    const QStringList filters =
        splitLines(win1250::decode(readWholeFile(kExeDir + QStringLiteral("filtr_adres.txt"))));
    EXPECT_GE(filters.size(), 2);
    for (const QString& pattern : filters)
        EXPECT_FALSE(pattern.isEmpty());
}
