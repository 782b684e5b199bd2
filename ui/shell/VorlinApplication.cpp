#include "ui/shell/VorlinApplication.h"

#include "common/Error.h"

#include "ui/shell/DesktopLanguage.h"
#include "ui/shell/ErrorBox.h"

namespace vorlin {

VorlinApplication::VorlinApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(kApplicationTitle.toString());
    setDesktopFileName(QStringLiteral("cz.vorlin.Vorlin"));
    installQtTranslations(*this, QLocale());
    setFont(designedFace());
}

bool VorlinApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Abort&) {
        return true;  // the user chose to stop: nothing to tell
    } catch (...) {
        showErrorBox(exceptionMessage(std::current_exception()));
        return true;
    }
}

}  // namespace vorlin
