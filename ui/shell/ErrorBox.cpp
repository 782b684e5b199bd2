#include "ui/shell/ErrorBox.h"

#include "ui/shell/MessageBox.h"

#include "common/Error.h"

#include <QApplication>

#include <new>

namespace vorlin {

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

QString exceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Error& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void showErrorBox(const QString& message)
{
    MessageBox::tell(QApplication::activeWindow(), MessageBox::Critical, kApplicationTitle.toString(),
                     errorBoxText(message));
}

bool runShowingErrors(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const Abort&) {
        return false;
    } catch (...) {
        showErrorBox(exceptionMessage(std::current_exception()));
        return false;
    }
}

}  // namespace vorlin
