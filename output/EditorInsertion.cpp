#include "output/EditorInsertion.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace vorlin {

std::optional<EditorKind> insertionKind(const QString& title)
{
    if (title.contains(QStringLiteral("Microsoft Word")))
        return EditorKind::Word;
    if (title.contains(QStringLiteral("OpenOffice.org")) || title.contains(QStringLiteral("LibreOffice")))
        return EditorKind::Writer;
    return std::nullopt;
}

Hourglass::Hourglass()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    shown_ = true;
    // The cursor must be drawn before the blocking call it announces: one
    // pass over the waiting events, nothing more.
    QCoreApplication::processEvents();
}

Hourglass::~Hourglass()
{
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace vorlin
