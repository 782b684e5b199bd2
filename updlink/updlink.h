#pragma once

#ifndef UPDLINK_EXPORT
#define UPDLINK_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Asks the maker's server whether a newer version of the program exists.
//   versionUrl        address of the version file (its first line: the newest version, "2.1.3")
//   localVersionFile  the installed version file (its first line: the installed version)
//   downloadUrl       address of the download page (for the caller to offer)
//   dataDir           the program's data folder (nothing is kept there)
//   interactive       1: tell the user when the installed version is the newest or the check failed
//   newerExists       set to 1 when the server names a newer version, else 0
// Texts are zero-terminated Windows-1250 (ASCII for the addresses). Returns 0
// when the check could be made, 1 when it failed (no answer, no version).
// The whole check takes at most about 3 s (connection 1.5 s).
UPDLINK_EXPORT int QueryUpdate(const char* versionUrl, const char* localVersionFile, const char* downloadUrl, const char* dataDir,
                int interactive, unsigned char* newerExists);

// Where an interactive check tells the user what it found: the program's
// own message box, handed a zero-terminated UTF-8 text. Without one, the
// library tells nobody (it shows no window of its own).
typedef void (*UpdateReporter)(const char* message);
UPDLINK_EXPORT void SetUpdateReporter(UpdateReporter reporter);

#ifdef __cplusplus
}
#endif
