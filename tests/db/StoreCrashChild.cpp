// Posts snippets one after the other into the data folder given as its
// argument and prints the ID of each post that returned, until it is killed.
#include "common/Paths.h"
#include "data/DM_Unit.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dataDir = QString::fromLocal8Bit(argv[1]);
    vorlin::setPaths({dataDir, dataDir, dataDir + QStringLiteral("hledani/")});
    vorlin::TDM dm;
    dm.DataModuleCreate();
    auto& query = dm.Vorlin_ADOQuery;
    const QString body = QStringLiteral("{\\rtf1\\ansi ") + QString(3000, QChar(u'x')) + u'}';
    for (int i = 0;; ++i) {
        query.insert();
        query.setValue(QStringLiteral("nazev"), QStringLiteral("Řádek %1").arg(i));
        query.setValue(QStringLiteral("obsah"), body);
        query.post();
        if (i % 3 == 0) {
            query.edit();
            query.setValue(QStringLiteral("tag"), QStringLiteral("upraveno %1").arg(i));
            query.post();
        }
        std::printf("%lld\n", query.value(QStringLiteral("ID")).toLongLong());
        std::fflush(stdout);
    }
}
