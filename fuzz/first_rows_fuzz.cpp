// Feeds arbitrary bytes to the files of the list's first rows and of the
// whole order kept for the next start (the bytes up to the first zero byte
// and the rest): they read as rows or as nothing, and what they read is
// written and read back the same.
#include "db/FirstRows.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prvni_radky.json"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = bytes.contains('\0') ? bytes.indexOf('\0') : bytes.size();
    for (const auto& [name, content] : {std::pair{path, bytes.left(split)},
                                        std::pair{dir.filePath(QStringLiteral("prvni_radky_poradi.bin")), bytes.mid(split + 1)}}) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(content);
    }
    const vorlin::db::FileStamp stamp{.size = 1, .changedNs = 2, .counter = 3, .inode = 4};
    std::optional<vorlin::db::FirstRows> first = vorlin::db::readFirstRows(path, stamp);
    if (!first)
        return 0;
    first->readWholeOrder(*first);
    if (!vorlin::db::writeFirstRows(path, stamp, *first)) {
        std::fprintf(stderr, "rows read could not be written\n");
        std::abort();
    }
    std::optional<vorlin::db::FirstRows> again = vorlin::db::readFirstRows(path, stamp);
    if (again)
        again->readWholeOrder(*again);
    bool same = again && again->order == first->order && again->rows.rowCount() == first->rows.rowCount()
                && again->keys == first->keys && again->ties == first->ties && again->textBytes == first->textBytes;
    for (int row = 0; same && row < first->rows.rowCount(); ++row)
        same = again->rows.row(row) == first->rows.row(row);
    if (!same) {
        std::fprintf(stderr, "rows written did not read back the same\n");
        std::abort();
    }
    return 0;
}
