// Feeds arbitrary bytes to the settings file as its content, writes one key,
// and checks that the key reads back and that writing it again changes no
// byte: whatever the file held, a write keeps it whole around its own line.
#include "data/IniFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nastaveni.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    vorlin::IniFile ini(path);
    const QString value = QStringLiteral("\"Tahoma\", 8, [Bold], [clWindowText]");
    ini.writeString(u"nastaveni", u"pismo", value);
    if (ini.readString(u"nastaveni", u"pismo", QString()) != value) {
        std::fprintf(stderr, "the written value does not read back\n");
        std::abort();
    }
    const QByteArray once = contentOf(path);
    ini.writeString(u"nastaveni", u"pismo", value);
    if (contentOf(path) != once) {
        std::fprintf(stderr, "writing the same value again changed the file\n");
        std::abort();
    }
    return 0;
}
