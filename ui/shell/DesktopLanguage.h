#pragma once

#include <QFont>
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace vorlin {

// Qt's own texts (the buttons of message boxes, the font dialog's labels, the
// file choosers) in the language of the locale, from the translations the
// system carries. The translator installed (owned by the application), or
// null when the system carries none for that language.
QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale);

// The face the windows are designed in: Tahoma 8 pt. Where the system has no
// Tahoma, the metric-compatible one of the Wine fonts is taken in for this
// program alone; without either, DejaVu Sans at the desktop's size.
QFont designedFace();

}  // namespace vorlin
