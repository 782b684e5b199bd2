#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace vorlin::test {

// Keeps an RTF text the tests met as a seed for the RTF fuzzer
// (scripts/fuzz rtf).
inline void keepFuzzSeed(const QByteArray& rtf)
{
    const QString folder = QStringLiteral(VORLIN_FUZZ_SEEDS);
    QDir().mkpath(folder);
    QFile file(folder + QString::fromLatin1(QCryptographicHash::hash(rtf, QCryptographicHash::Sha1).toHex()));
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write(rtf);
}

}  // namespace vorlin::test
