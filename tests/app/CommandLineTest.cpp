#include "app/CommandLine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

TEST(CommandLine, AnswersBeforeAnyWindow)
{
    struct Case {
        const char* command;  // split at blanks
        bool hasDisplay;
        bool run;
        int status;
        bool quickInsert;
        const char* out;  // the start of it
        const char* err;
        const char* library = "";
    };
    const Case cases[] = {
        {"vorlin", true, true, 0, false, "", ""},
        {"vorlin --quick-insert", true, true, 0, true, "", ""},
        {"vorlin --version", false, false, 0, false, "Vorlin 1.0\n", ""},
        {"vorlin --help", false, false, 0, false, "Použití: vorlin", ""},
        {"vorlin --nesmysl", true, false, 2, false, "", "vorlin: neznámá volba / unknown option: --nesmysl"},
        {"vorlin", false, false, 2, false, "", "Vorlin potřebuje grafické prostředí"},
        {"vorlin -platform xcb", true, true, 0, false, "", ""},  // Qt's own options pass
        {"vorlin --library postgresql://server/vorlin --quick-insert", true, true, 0, true, "", "",
         "postgresql://server/vorlin"},
        {"vorlin --library=local", true, true, 0, false, "", "", "local"},
        {"vorlin --library", true, false, 2, false, "", "vorlin: --library potřebuje adresu"},
    };
    for (const Case& c : cases) {
        const CommandLineAnswer answer =
            answerCommandLine(QString::fromUtf8(c.command).split(u' '), QStringLiteral("1.0"), c.hasDisplay);
        const std::string what = c.command;
        EXPECT_EQ(answer.run, c.run) << what;
        EXPECT_EQ(answer.status, c.status) << what;
        EXPECT_EQ(answer.quickInsert, c.quickInsert) << what;
        EXPECT_EQ(answer.library, QString::fromUtf8(c.library)) << what;
        const auto begins = [](const QString& text, const char* start) {
            return *start ? text.startsWith(QString::fromUtf8(start)) : text.isEmpty();
        };
        EXPECT_TRUE(begins(answer.out, c.out)) << what << ": " << answer.out.toStdString();
        EXPECT_TRUE(begins(answer.err, c.err)) << what << ": " << answer.err.toStdString();
        EXPECT_EQ(answer.err.count(u'\n'), answer.err.isEmpty() ? 0 : 1) << what;  // one line
    }
}

TEST(CommandLine, TheVersionIsTheVersionFilesFirstLine)
{
    TempDir dir;
    EXPECT_EQ(installedVersion(dir.path()), std::nullopt);
    dir.write(QStringLiteral("vorlin.txt"), "1.2.3\r\nzměny\r\n");
    EXPECT_EQ(installedVersion(dir.path()), QStringLiteral("1.2.3"));
    EXPECT_EQ(answerCommandLine(QStringLiteral("vorlin --version").split(u' '), *installedVersion(dir.path()), true).out,
              QStringLiteral("Vorlin 1.2.3\n"));
}
