// Rows held in memory keep every kind of value the database gives, as it
// gave it, and order them as it orders them.
#include "db/RowSet.h"
#include "db/RowView.h"
#include "db/Sqlite.h"
#include "db/TextOrder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>

using namespace vorlin::db;

TEST(RowSet, EveryKindOfValueComesBackAsStoredAndInTheDatabasesOrder)
{
    vorlin::test::TempDir dir;
    dir.write(QStringLiteral("t.db"), QByteArray());
    Database database(dir.file(QStringLiteral("t.db")));
    database.execute(QStringLiteral("CREATE TABLE t (v)"));
    const QVariantList values = {QVariant(),
                                 qint64(0),
                                 qint64(-1),
                                 qint64(1) << 30,  // the numbers held in a value's four bytes end here
                                 (qint64(1) << 30) - 1,
                                 -(qint64(1) << 30),
                                 -(qint64(1) << 30) - 1,
                                 qint64(std::numeric_limits<std::int32_t>::max()),
                                 qint64(std::numeric_limits<std::int32_t>::max()) + 1,
                                 qint64(std::numeric_limits<std::int32_t>::min()) - 1,
                                 std::numeric_limits<qint64>::max(),
                                 std::numeric_limits<qint64>::min(),
                                 1.5,
                                 -0.25,
                                 QStringLiteral("Čížek"),
                                 QStringLiteral("Čížek"),  // held once with the first
                                 QStringLiteral(""),
                                 QString(300, u'ř'),  // a size beyond a byte's
                                 QByteArray("\x00\xff", 2),
                                 QVariant()};
    for (const QVariant& value : values) {
        Statement insert(database, QStringLiteral("INSERT INTO t VALUES (?)"));
        insert.bind(1, value);
        insert.step();
    }
    const auto read = [&](const QString& sql) {
        RowSet rows;
        rows.clear(1);
        Statement select(database, sql);
        while (select.step())
            rows.appendFrom(select.handle());
        return rows;
    };
    const RowSet rows = read(QStringLiteral("SELECT v FROM t"));
    ASSERT_EQ(rows.rowCount(), values.size());
    for (int row = 0; row < rows.rowCount(); ++row)
        EXPECT_EQ(rows.value(row, 0), values[row]) << row;

    const RowSet ordered = read(QStringLiteral("SELECT v FROM t ORDER BY v"));
    const std::vector<std::uint32_t> order = rows.orderBy(0, false, *czechTextOrder());
    for (int row = 0; row < rows.rowCount(); ++row)
        EXPECT_EQ(rows.value(int(order[std::size_t(row)]), 0), ordered.value(row, 0)) << row;
    // Either direction turned gives the other as sorted, equal values
    // (the empty ones, the two names) in the database's order.
    for (const bool descending : {false, true}) {
        std::vector<bool> ties;
        const std::vector<std::uint32_t> sorted = rows.orderBy(0, descending, *czechTextOrder(), &ties);
        EXPECT_EQ(RowSet::reversedOrder(sorted, ties), rows.orderBy(0, !descending, *czechTextOrder()));
    }

    // A list long enough to be sorted in two halves at once: the same
    // order, ties across the halves kept in the rows' own order.
    RowSet many;
    many.clear(1);
    const QStringList names{QStringLiteral("Čermák"), QStringLiteral("Cermak"), QStringLiteral("chata"), QStringLiteral("Hrad")};
    for (int row = 0; row < 50000; ++row) {
        const QByteArray name = names[row * 7 % names.size()].toUtf8();
        many.appendText(name.constData(), std::size_t(name.size()));
    }
    for (const bool descending : {false, true}) {
        std::vector<bool> ties;
        const std::vector<std::uint32_t> sorted = many.orderBy(0, descending, *czechTextOrder(), &ties);
        std::vector<std::uint32_t> expected(50000);
        std::iota(expected.begin(), expected.end(), 0u);
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int compared = czechTextOrder()->compare(many.value(int(a), 0).toString().toStdString(),
                                                           many.value(int(b), 0).toString().toStdString());
            return descending ? compared > 0 : compared < 0;
        });
        EXPECT_EQ(sorted, expected) << descending;
        EXPECT_EQ(RowSet::reversedOrder(sorted, ties), many.orderBy(0, !descending, *czechTextOrder()));
    }

    // Written back over each other, the values stay themselves; a text
    // written over one row's is not written over the row sharing it.
    RowSet written = rows;
    written.replaceRow(14, {QStringLiteral("Dvořák")});
    EXPECT_EQ(written.value(15, 0), QStringLiteral("Čížek"));
    for (int row = 0; row < written.rowCount(); ++row)
        written.replaceRow(row, {values[values.size() - 1 - row]});
    for (int row = 0; row < written.rowCount(); ++row)
        EXPECT_EQ(written.value(row, 0), values[values.size() - 1 - row]) << row;
}

// A list told "one block came or went" keeps the rest of what it shows; any
// other change must be told as a new reading.
TEST(RowView, AChangeOfTheShownRowsIsOneBlockOnlyWhenEveryOtherRowStays)
{
    using Kind = ShownChange::Kind;
    struct Case {
        std::vector<qint64> before, after;
        Kind kind;
        int first, count;
    };
    const Case cases[] = {
        {{1, 2, 3}, {1, 2, 3}, Kind::Same, 0, 0},
        {{1, 2, 3}, {1, 9, 2, 3}, Kind::Inserted, 1, 1},
        {{1, 2, 3}, {9, 1, 2, 3}, Kind::Inserted, 0, 1},
        {{1, 2, 3}, {1, 2, 3, 8, 9}, Kind::Inserted, 3, 2},
        {{}, {5}, Kind::Inserted, 0, 1},
        {{1, 2, 3}, {1, 3}, Kind::Removed, 1, 1},
        {{1, 2, 3}, {}, Kind::Removed, 0, 3},
        {{1, 1, 1}, {1, 1}, Kind::Removed, 2, 1},
        {{1, 2, 3}, {2, 1, 3}, Kind::Other, 0, 0},     // a renamed row moved
        {{1, 2, 3}, {1, 9, 3}, Kind::Other, 0, 0},     // one went, another came
        {{1, 2, 3}, {9, 2, 3, 1}, Kind::Other, 0, 0},  // came, and another moved
        {{1, 2, 3}, {3}, Kind::Removed, 0, 2},
        {{1, 2, 3}, {2}, Kind::Other, 0, 0},
    };
    for (const Case& c : cases) {
        const ShownChange change = shownChange(c.before, c.after);
        EXPECT_EQ(change.kind, c.kind) << c.before.size() << "→" << c.after.size();
        if (c.kind == Kind::Inserted || c.kind == Kind::Removed) {
            EXPECT_EQ(change.first, c.first) << c.before.size() << "→" << c.after.size();
            EXPECT_EQ(change.count, c.count) << c.before.size() << "→" << c.after.size();
        }
    }
}
