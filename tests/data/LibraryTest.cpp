#include "data/IniFile.h"
#include "data/Library.h"
#include "data/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorlin;

// The settings name the library; a run's command line, else its
// environment, names another for that run only.
TEST(Library, TheRunsChoiceGoesBeforeTheSettings)
{
    test::TempDir dir;
    IniFile ini(dir.file(QStringLiteral("nastaveni.ini")));
    const LibraryAddress office{QStringLiteral("postgresql://server/vorlin"), QStringLiteral("jana")};
    struct Case {
        const char* what;
        bool serverInSettings;
        const char* commandLine;
        const char* environment;
        LibraryAddress expected;
    };
    const Case cases[] = {
        {"nothing chosen", false, "", "", {}},
        {"the settings' server", true, "", "", office},
        {"the command line's server", false, "postgresql://jiny/knihovna", "postgresql://env/x",
         {QStringLiteral("postgresql://jiny/knihovna"), QString()}},
        {"the environment's server", false, "", "postgresql://env/x", {QStringLiteral("postgresql://env/x"), QString()}},
        {"local forced over the settings' server", true, "local", "postgresql://env/x", {QString(), QString()}},
    };
    for (const Case& c : cases) {
        writeLibrary(ini, c.serverInSettings ? office : LibraryAddress{QString(), QString()});
        const LibraryAddress chosen =
            chosenLibrary(ini, QString::fromUtf8(c.commandLine), QString::fromUtf8(c.environment));
        EXPECT_EQ(chosen.server, c.expected.server) << c.what;
    }
    // The address is kept when the user goes back to this computer's file.
    writeLibrary(ini, office);
    writeLibrary(ini, {QString(), office.user});
    EXPECT_EQ(ini.readString(settings::kSection, settings::kLibraryServerKey, QString()), office.server);
    EXPECT_FALSE(chosenLibrary(ini, QString(), QString()).isServer());
}
