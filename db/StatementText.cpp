#include "db/StatementText.h"

#include <QRegularExpression>

namespace vorlin::db {

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

QString quotedIdentifier(const QString& name)
{
    QString inner = name;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

}  // namespace vorlin::db
