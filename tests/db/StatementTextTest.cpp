#include "db/Connection.h"
#include "db/StatementText.h"

#include <gtest/gtest.h>

using namespace vorlin::db;

TEST(StatementText, OnlyTheJetDeleteFormIsTranslated)
{
    struct Case {
        const char* sql;
        const char* sent;
    };
    const Case cases[] = {
        {"DELETE * FROM vorlin", "DELETE FROM vorlin"},
        {"delete  *  from vorlin", "DELETE FROM vorlin"},
        {"DELETE *FROM vorlin", "DELETE FROM vorlin"},
        {"DELETE FROM vorlin", "DELETE FROM vorlin"},
        {"SELECT * FROM vorlin\r\nWHERE\r\n((nazev like '%a%'))\r\n", "SELECT * FROM vorlin\r\nWHERE\r\n((nazev like '%a%'))\r\n"},
        {"UPDATE vorlin SET nazev = 'DELETE * FROM x'", "UPDATE vorlin SET nazev = 'DELETE * FROM x'"},
        {"UPDATE vorlin SET nazev = 'o''neil' WHERE 1; DELETE * FROM y", "UPDATE vorlin SET nazev = 'o''neil' WHERE 1; DELETE FROM y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translateJetSql(QString::fromUtf8(c.sql)), QString::fromUtf8(c.sent)) << c.sql;
}

TEST(Connection, DataSourceIsTakenAsItStands)
{
    struct Case {
        const char* connectionString;
        const char* dataSource;
    };
    const Case cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/jan/.local/share/Vorlin/vorlin.mdb",
         "/home/jan/.local/share/Vorlin/vorlin.mdb"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/Jan Novák/Data (2)/vorlin.mdb",
         "/home/Jan Novák/Data (2)/vorlin.mdb"},
        {"data source=\"/a;b/vorlin.mdb\";Provider=x", "/a;b/vorlin.mdb"},
        {"Data Source=/a.mdb;", "/a.mdb"},
        {"Provider=x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Connection::dataSourceOf(QString::fromUtf8(c.connectionString)), QString::fromUtf8(c.dataSource));
}

TEST(Connection, AnyFileNameSurvivesTheConnectionString)
{
    for (const char* name : {"/home/jan/vorlin.mdb", "/a;b/vorlin.mdb", "/a;\"b\"/vorlin.mdb", "/a;'b'\"c\"/x.mdb",
                             "\"/začátek v uvozovkách", "'/apostrof", "/mezera na konci "}) {
        const QString file = QString::fromUtf8(name);
        const QString text = QStringLiteral("Provider=x;Data Source=") + Connection::quotedValue(file) + QStringLiteral(";User ID=y");
        EXPECT_EQ(Connection::dataSourceOf(text), file) << name;
    }
    EXPECT_EQ(Connection::quotedValue(QStringLiteral("/home/Jan Novák/vorlin.mdb")),
              QStringLiteral("/home/Jan Novák/vorlin.mdb"));
}
