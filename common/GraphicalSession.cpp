#include "common/GraphicalSession.h"

namespace vorlin {

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
