// Writes the program's icon as PNG files for the desktop's icon theme:
//   make_icons OUTPUT_FOLDER SIZE...
// gives OUTPUT_FOLDER/SIZExSIZE/apps/cz.vorlin.Vorlin.png for each size.
#include "ui/Icons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(output).arg(size);
        QDir().mkpath(folder);
        if (size <= 0 || !vorlin::ui::icons::applicationImage(size).save(folder + QStringLiteral("/cz.vorlin.Vorlin.png"))) {
            std::fprintf(stderr, "make_icons: cannot write the %d px icon\n", size);
            return 1;
        }
    }
    return 0;
}
