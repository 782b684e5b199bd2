#pragma once

#include <QString>

namespace vorlin::db {

// Carries the one statement form that only the Jet engine knows onto SQLite:
// "DELETE * FROM" becomes "DELETE FROM". Text inside string literals is left
// alone; nothing else is rewritten.
QString translateJetSql(const QString& sql);

// An identifier in double quotes, quotes inside doubled.
QString quotedIdentifier(const QString& name);

}  // namespace vorlin::db
