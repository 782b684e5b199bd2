#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace vorlin {

// The program's title: the error box's caption and the tray icon's tooltip.
inline constexpr QStringView kApplicationTitle = u"Vorlin";

// The text the error box shows: the message, with "." appended when its last
// character has a code above that of ".".
QString errorBoxText(const QString& message);

// The message of an exception in flight: the text of the program's own
// errors, the description of any other.
QString exceptionMessage(std::exception_ptr error);

// The standard error box: error icon, caption "Vorlin", the message, OK.
void showErrorBox(const QString& message);

// Runs a step whose error is to be shown in the error box, after which the
// caller carries on. Returns false when the step failed or the user went on
// editing (Abort: a save's conflict with another's change was asked about).
bool runShowingErrors(const std::function<void()>& step);

}  // namespace vorlin
