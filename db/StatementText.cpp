#include "db/StatementText.h"

#include <QRegularExpression>

namespace vorlin::db {
namespace {

const QRegularExpression& selectStar()
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*SELECT\s+(\*)\s+FROM\s+([A-Za-z_][A-Za-z0-9_]*)\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

}  // namespace

QString translateJetSql(const QString& sql)
{
    static const QRegularExpression deleteStar(QStringLiteral(R"(\bDELETE\s+\*\s*FROM\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    // Split at apostrophes: the even pieces stand outside string literals
    // (a doubled apostrophe inside a literal gives an empty odd piece).
    QStringList pieces = sql.split(u'\'');
    for (qsizetype i = 0; i < pieces.size(); i += 2)
        pieces[i].replace(deleteStar, QStringLiteral("DELETE FROM"));
    return pieces.join(u'\'');
}

std::optional<QString> selectStarTable(const QString& sql)
{
    const QRegularExpressionMatch match = selectStar().match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(2);
}

QString withColumnList(const QString& sql, const QStringList& columns)
{
    const QRegularExpressionMatch match = selectStar().match(sql);
    if (!match.hasMatch())
        return sql;
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quotedIdentifier(column);
    QString result = sql;
    result.replace(match.capturedStart(1), 1, quoted.join(QStringLiteral(", ")));
    return result;
}

std::optional<TrailingOrder> trailingOrderBy(const QString& sql)
{
    static const QRegularExpression orderBy(
        QStringLiteral(R"(\bORDER\s+BY\s+("?)([A-Za-z_][A-Za-z0-9_]*)\1(?:\s+(ASC|DESC))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = orderBy.match(sql);
    // Words inside a string literal are no clause.
    if (!match.hasMatch() || sql.left(match.capturedStart()).count(u'\'') % 2 != 0)
        return std::nullopt;
    return TrailingOrder{sql.left(match.capturedStart()), match.captured(2),
                         match.captured(3).compare(QStringLiteral("desc"), Qt::CaseInsensitive) == 0};
}

QString quotedIdentifier(const QString& name)
{
    QString inner = name;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

}  // namespace vorlin::db
