#include "bench/SnippetGenerator.h"

#include "common/Paths.h"
#include "db/Sqlite.h"

#include <QCoreApplication>
#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

namespace vorlin::bench {
namespace {

const QStringList kFirstNames = {"Jan", "Petr", "Jiří", "Josef", "Pavel", "Martin", "Tomáš", "Jaroslav", "Miroslav",
                                 "Zdeněk", "Marie", "Jana", "Eva", "Hana", "Anna", "Lenka", "Kateřina", "Věra",
                                 "Lucie", "Alena"};
const QStringList kSurnames = {"Novák", "Svoboda", "Novotný", "Dvořák", "Černý", "Procházka", "Kučera", "Veselý",
                               "Horák", "Němec", "Marek", "Pospíšil", "Pokorný", "Hájek", "Král", "Jelínek",
                               "Růžička", "Beneš", "Fiala", "Sedláček"};
const QStringList kTowns = {"Praha", "Brno", "Ostrava", "Plzeň", "Liberec", "Olomouc", "České Budějovice",
                            "Hradec Králové", "Ústí nad Labem", "Pardubice", "Zlín", "Kladno", "Jihlava"};
const QStringList kWords = {"smlouva", "kupní", "nájemní", "žaloba", "odvolání", "plná moc", "výpověď",
                            "dovolání", "exekuce", "insolvence", "dědictví", "rozvod", "výživné", "pozemek",
                            "byt", "firma", "společnost", "s.r.o.", "advokát", "soud", "námitka", "petit"};
const QStringList kKinds = {"adresa", "petit", "podpis", "odstavec", "smlouva"};

QString pick(const QStringList& list, QRandomGenerator& random)
{
    return list[random.bounded(int(list.size()))];
}

QString rtfBody(QRandomGenerator& random, int bytes)
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}"
                                 "\\viewkind4\\uc1\\pard\\lang1029\\f0\\fs16 ");
    while (rtf.size() < bytes) {
        rtf += pick(kWords, random) + u' ' + pick(kSurnames, random) + QStringLiteral(" \\'e8\\'ed\\'f8 ");
        if (random.bounded(8) == 0)
            rtf += QStringLiteral("\\par\n");
    }
    return rtf + QStringLiteral("\\par\n}");
}

int rowCount(const QString& file)
{
    try {
        db::Database database(file);
        db::Statement count(database, QStringLiteral("SELECT count(*) FROM vorlin"));
        return count.step() ? count.column(0).toInt() : -1;
    } catch (const db::DatabaseError&) {
        return -1;
    }
}

}  // namespace

void generateSnippetDatabase(const QString& seedDatabase, const QString& target, int rows, int bodyBytes)
{
    if (QFileInfo::exists(target) && rowCount(target) == rows)
        return;
    QFile::remove(target);
    QFile::copy(seedDatabase, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);

    QRandomGenerator random(rows);
    db::Database database(target);
    db::Transaction transaction(database);
    db::Statement insert(database,
                         QStringLiteral("INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES (?, ?, ?, ?)"));
    for (int i = 0; i < rows; ++i) {
        const QString name = pick(kFirstNames, random) + u' ' + pick(kSurnames, random) + QStringLiteral(", ")
            + pick(kTowns, random) + u' ' + QString::number(i);
        const QString tag = pick(kWords, random) + u' ' + pick(kWords, random) + u' ' + pick(kTowns, random);
        insert.reset();
        insert.bind(1, name);
        insert.bind(2, pick(kKinds, random));
        insert.bind(3, rtfBody(random, bodyBytes));
        insert.bind(4, tag);
        insert.step();
    }
    transaction.commit();
    database.execute(QStringLiteral("ANALYZE"));
}

void useGeneratedDataFolder(int rows, int bodyBytes)
{
    const QString exeDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/");
    const QString dataDir = QCoreApplication::applicationDirPath()
        + (bodyBytes == 2048 ? QStringLiteral("/data/%1/").arg(rows) : QStringLiteral("/data/%1-%2/").arg(rows).arg(bodyBytes));
    QDir().mkpath(dataDir);
    generateSnippetDatabase(libraryFileIn(exeDir), libraryFileIn(dataDir), rows, bodyBytes);
    QFile::copy(exeDir + QStringLiteral("vorlin_druh.txt"), dataDir + QStringLiteral("vorlin_druh.txt"));
    setPaths({exeDir, dataDir, dataDir + QStringLiteral("hledani/")});
}

}  // namespace vorlin::bench
