#pragma once

#include <QString>

namespace vorlin::product {

// Who makes the program and where to reach them: the settings window's
// product group, its links, and the update check's addresses.
inline const QString kAuthor = QStringLiteral("tým Vorlin");
inline const QString kMail = QStringLiteral("vorlin@vorlin.cz");
inline const QString kWeb = QStringLiteral("https://vorlin.cz/");

// The version file on the server and the download page; the environment
// variables VORLIN_UPDATE_URL and VORLIN_DOWNLOAD_URL put others in their
// place (tests, packagers).
QString updateUrl();
QString downloadUrl();

}  // namespace vorlin::product
