#include "common/GraphicalSession.h"

namespace vorlin {

GraphicalSession GraphicalSession::of(const QProcessEnvironment& environment)
{
    if (!environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        return {Kind::Wayland};
    if (!environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return {Kind::X11};
    return {Kind::None};
}

GraphicalSession GraphicalSession::current()
{
    return of(QProcessEnvironment::systemEnvironment());
}

QString graphicalSessionName()
{
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    for (QChar& c : display)
        if (!c.isLetterOrNumber())
            c = u'_';
    return display;
}

}  // namespace vorlin
