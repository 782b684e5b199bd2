#include "ui/shell/DesktopLanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>

namespace vorlin {
namespace {

const QString kDesignedFamily = QStringLiteral("Tahoma");
// Wine's regular Tahoma only: its bold file declares no characters to the
// font configuration, so once registered it takes bold text over and every
// letter falls back to another face. Without it bold is drawn from the
// regular face.
const char* const kWineTahoma[] = {"/usr/share/wine/fonts/tahoma.ttf"};

// Wine's Tahoma gives lines too low for the accents of Czech capitals (Š, Č,
// Ř, Ú stand 2 px above the line at 8 pt): its bitmap strikes, drawn up to
// 16 pixels a line, declare an ascent that holds plain capitals only, and
// its outlines ask for their typographic metrics, lower still. The editors
// then cut the accents off while typing and draw them into the line above.
// Windows lays every size out by the font's Windows ascent and descent,
// which hold them: the strikes get those, and the outlines lose the request
// (their hhea table carries the same values).
QByteArray withWindowsLineMetrics(QByteArray font)
{
    const auto u16 = [&](qsizetype at) { return at + 2 <= font.size() ? (uchar(font[at]) << 8) | uchar(font[at + 1]) : 0; };
    const auto u32 = [&](qsizetype at) { return (qsizetype(u16(at)) << 16) | u16(at + 2); };
    const auto table = [&](const char* tag) -> qsizetype {
        for (int i = 0; i < u16(4); ++i) {
            const qsizetype entry = 12 + 16 * qsizetype(i);
            if (entry + 16 <= font.size() && font.mid(entry, 4) == tag)
                return u32(entry + 8);
        }
        return -1;
    };
    const qsizetype os2 = table("OS/2");
    const qsizetype head = table("head");
    if (os2 < 0 || head < 0 || os2 + 78 > font.size())
        return font;
    font[os2 + 63] = char(uchar(font[os2 + 63]) & ~0x80);  // fsSelection bit 7: USE_TYPO_METRICS
    const int unitsPerEm = u16(head + 18);
    const int winAscent = u16(os2 + 74);
    const int winDescent = u16(os2 + 76);
    const qsizetype strikes = table("EBLC");
    if (strikes < 0 || unitsPerEm == 0)
        return font;
    for (qsizetype i = 0; i < u32(strikes + 4); ++i) {
        const qsizetype size = strikes + 8 + 48 * i;  // one bitmap size record
        if (size + 48 > font.size())
            break;
        const int ppem = uchar(font[size + 45]);
        const int ascent = (winAscent * ppem + unitsPerEm - 1) / unitsPerEm;
        const int descent = (winDescent * ppem + unitsPerEm / 2) / unitsPerEm;
        font[size + 16] = char(std::max<int>(qint8(font[size + 16]), ascent));    // hori.ascender
        font[size + 17] = char(std::min<int>(qint8(font[size + 17]), -descent));  // hori.descender
    }
    return font;
}

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
        for (const char* file : kWineTahoma) {
            QFile in(QString::fromLatin1(file));
            if (in.open(QIODevice::ReadOnly))
                QFontDatabase::addApplicationFontFromData(withWindowsLineMetrics(in.readAll()));
        }
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
