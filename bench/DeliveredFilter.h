#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>

namespace vorlin::bench {

// The patterns of the delivered address filter beside the built program, one
// a line, as bytes; empty lines left out.
inline QList<QByteArray> deliveredFilterPatterns()
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/../app/filtr_adres.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

}  // namespace vorlin::bench
