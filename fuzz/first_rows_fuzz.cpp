// Feeds arbitrary bytes to the file of the list's first rows kept for the
// next start: it reads as rows or as nothing, and rows it reads are written
// and read back the same.
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
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    const vorlin::db::FileStamp stamp{.size = 1, .changedNs = 2, .counter = 3, .inode = 4};
    const std::optional<vorlin::db::FirstRows> first = vorlin::db::readFirstRows(path, stamp);
    if (!first)
        return 0;
    if (!vorlin::db::writeFirstRows(path, stamp, *first)) {
        std::fprintf(stderr, "rows read could not be written\n");
        std::abort();
    }
    const std::optional<vorlin::db::FirstRows> again = vorlin::db::readFirstRows(path, stamp);
    bool same = again && again->order == first->order && again->rows.rowCount() == first->rows.rowCount();
    for (int row = 0; same && row < first->rows.rowCount(); ++row)
        same = again->rows.row(row) == first->rows.row(row);
    if (!same) {
        std::fprintf(stderr, "rows written did not read back the same\n");
        std::abort();
    }
    return 0;
}
