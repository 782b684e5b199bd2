#pragma once

#include <QString>
#include <QStringView>

namespace vorlin::settings {

// The settings file in the data folder and its keys with their defaults. The
// file is opened by name whenever a key is read or written; nothing is kept.
inline constexpr QStringView kFileName = u"nastaveni.ini";
inline constexpr QStringView kSection = u"nastaveni";

// Default font of new snippets, as a FontSpec.
inline constexpr QStringView kFontKey = u"pismo";
inline constexpr QStringView kFontDefault = u"tahoma";

// Check for a newer version when the program starts.
inline constexpr QStringView kCheckAtStartKey = u"kontrolovat_po_startu";
inline constexpr bool kCheckAtStartDefault = true;

// Seconds before the delayed paste, as text.
inline constexpr QStringView kPasteIntervalKey = u"casovy_interval_vlozeni";
inline constexpr QStringView kPasteIntervalDefault = u"4";

// Press Ctrl+V after the delay.
inline constexpr QStringView kUseCtrlVKey = u"pouzit_ctrlv";
inline constexpr bool kUseCtrlVDefault = true;

// The chord that opens the quick-insert pop-up from any window, in Qt's
// portable text ("Ctrl+Alt+V"); empty for none.
inline constexpr QStringView kQuickShortcutKey = u"rychle_vlozeni_zkratka";
inline constexpr QStringView kQuickShortcutDefault = u"Ctrl+Alt+V";

// After a quick insertion through the clipboard, put back what the
// clipboard held before.
inline constexpr QStringView kQuickRestoreClipboardKey = u"rychle_vlozeni_vratit_schranku";
inline constexpr bool kQuickRestoreClipboardDefault = true;

// Where the snippets live: "pocitac" (the file in the data folder) or
// "server" (the office's PostgreSQL server at the address, as the user).
inline constexpr QStringView kLibraryKey = u"knihovna";
inline constexpr QStringView kLibraryHere = u"pocitac";
inline constexpr QStringView kLibraryServer = u"server";
inline constexpr QStringView kLibraryServerKey = u"knihovna_server";
inline constexpr QStringView kLibraryUserKey = u"knihovna_uzivatel";

// The business register a field beside an IČO fills its values from
// (ARES's REST address); empty for no lookup.
inline constexpr QStringView kRegisterAddressKey = u"registr_ares";
inline constexpr QStringView kRegisterAddressDefault = u"https://ares.gov.cz/ekonomicke-subjekty-v-be/rest";

// The settings file of a data folder (which ends in "/").
inline QString filePath(const QString& dataDir)
{
    return dataDir + kFileName.toString();
}

}  // namespace vorlin::settings
