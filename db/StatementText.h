#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlin::db {

// Carries the one statement form that only the Jet engine knows onto SQLite:
// "DELETE * FROM" becomes "DELETE FROM". Text inside string literals is left
// alone; nothing else is rewritten.
QString translateJetSql(const QString& sql);

// The table of a statement of the form "SELECT * FROM <table> ...", if it is one.
std::optional<QString> selectStarTable(const QString& sql);

// The same statement with its "*" replaced by the given columns.
QString withColumnList(const QString& sql, const QStringList& columns);

// A statement's closing "ORDER BY <column> [ASC|DESC]" on a single column.
struct TrailingOrder {
    QString statement;  // the statement without it
    QString column;
    bool descending = false;
};
std::optional<TrailingOrder> trailingOrderBy(const QString& sql);

// An identifier in double quotes, quotes inside doubled.
QString quotedIdentifier(const QString& name);

}  // namespace vorlin::db
