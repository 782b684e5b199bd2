// The office's pipe against another local user: a link, a socket or a
// listener of someone else's at the pipe's name gets nothing, neither a
// listing's handshake nor a snippet, and the user is told why.
#include "platform/OwnOfficePipe.h"
#include "platform/UnoOfficeAutomation.h"
#include "support/ForeignListener.h"
#include "support/TempDir.h"

#include <functional>

using namespace vorlin;
using namespace vorlin::platform;
using namespace vorlin::test;

TEST(OfficePipe, NothingIsSentWhereThePipeIsNotThisUsersOwn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's socket needs root to be made";
    struct Case {
        const char* name;
        std::function<std::unique_ptr<ForeignListener>(const QString& pipe, const QString& elsewhere)> plant;
        const char* why;
    };
    const QList<Case> cases{
        {"a link to another user's office",
         [](const QString& pipe, const QString& elsewhere) {
             auto stranger = std::make_unique<ForeignListener>(elsewhere);
             QFile::link(elsewhere, pipe);
             return stranger;
         },
         "odkaz"},
        {"another user's socket at the pipe's name",
         [](const QString& pipe, const QString&) { return std::make_unique<ForeignListener>(pipe); }, "patří uživateli"},
        {"the user's own socket file with another user listening behind it",
         [](const QString& pipe, const QString&) {
             auto stranger = std::make_unique<ForeignListener>(pipe);
             EXPECT_EQ(::lchown(QFile::encodeName(pipe).constData(), ::geteuid(), ::getegid()), 0);
             return stranger;
         },
         "naslouchá na něm program uživatele"},
        {"a plain file",
         [](const QString& pipe, const QString&) {
             QFile file(pipe);
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             return std::unique_ptr<ForeignListener>();
         },
         "není to soket"},
    };
    TempDir open;
    ::chmod(QFile::encodeName(open.path()).constData(), 0777);
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pipeName = QStringLiteral("vorlin_test_%1_%2").arg(::getpid()).arg(++number);
        const QString pipe = officePipePath(pipeName);
        QFile::remove(pipe);
        const std::unique_ptr<ForeignListener> stranger = c.plant(pipe, open.file(pipeName));
        UnoOfficeAutomation office(pipeName);
        try {
            office.openDocuments();
            ADD_FAILURE() << "the listing went there";
        } catch (const ForeignPipeError& error) {
            EXPECT_TRUE(error.message().contains(pipe) && error.message().contains(QString::fromUtf8(c.why)))
                << error.message().toStdString();
        }
        EXPECT_THROW(office.pasteInto(QStringLiteral("Dopis.odt"), {"{\\rtf1 tajné}", QStringLiteral("tajné")}, true, false),
                     ForeignPipeError);
        ::usleep(100000);
        if (stranger) {
            EXPECT_NE(stranger->status(), 42) << "the other user's process was told something";
        }
        QFile::remove(pipe);
    }
    // Nobody there at all: no office runs, which is no error.
    EXPECT_EQ(UnoOfficeAutomation(QStringLiteral("vorlin_test_%1_none").arg(::getpid())).openDocuments(), QStringList());
}
