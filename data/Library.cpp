#include "data/Library.h"

#include "data/SettingsFile.h"
#include "data/Settings.h"
#include "db/PostgresStore.h"

namespace vorlin {

QString LibraryAddress::shownServer() const
{
    return db::PostgresStore::withoutPassword(server);
}

LibraryAddress chosenLibrary(const SettingsFile& settings, const QString& commandLine, const QString& environment)
{
    LibraryAddress fromSettings;
    if (settings.readString(settings::kSection, settings::kLibraryKey, settings::kLibraryHere.toString())
        == settings::kLibraryServer)
        fromSettings.server = settings.readString(settings::kSection, settings::kLibraryServerKey, QString());
    fromSettings.user = settings.readString(settings::kSection, settings::kLibraryUserKey, QString());
    for (const QString& given : {commandLine.trimmed(), environment.trimmed()}) {
        if (given.isEmpty())
            continue;
        if (given == QStringLiteral("local"))
            return {};
        return {given, fromSettings.user};
    }
    return fromSettings;
}

void writeLibrary(SettingsFile& settings, const LibraryAddress& library)
{
    settings.writeString(settings::kSection, settings::kLibraryKey,
                         library.isServer() ? settings::kLibraryServer : settings::kLibraryHere);
    if (library.isServer())
        settings.writeString(settings::kSection, settings::kLibraryServerKey, library.shownServer());
    settings.writeString(settings::kSection, settings::kLibraryUserKey, library.user);
}

}  // namespace vorlin
