#include "app/DesktopLanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorlin {
namespace {

const QString kDesignedFamily = QStringLiteral("Tahoma");
// Wine's regular Tahoma only: its bold file declares no characters to the
// font configuration, so once registered it takes bold text over and every
// letter falls back to another face. Without it bold is drawn from the
// regular face.
const char* const kWineTahoma[] = {"/usr/share/wine/fonts/tahoma.ttf"};

}  // namespace

QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

QFont designedFace()
{
    if (!QFontDatabase::hasFamily(kDesignedFamily)) {
        for (const char* file : kWineTahoma)
            if (QFile::exists(QString::fromLatin1(file)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    if (QFontDatabase::hasFamily(kDesignedFamily)) {
        QFont face(kDesignedFamily);
        face.setPointSize(8);
        return face;
    }
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
    return face;
}

}  // namespace vorlin
