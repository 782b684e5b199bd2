#include "ui/widgets/GroupFrame.h"

namespace vorlin::ui {

void frameGroup(QGroupBox* group, const QColor& colour)
{
    if (colour.isValid()) {
        QPalette palette = group->palette();
        palette.setColor(QPalette::Window, colour);
        group->setPalette(palette);
    }
    const QString background = colour.isValid() ? QStringLiteral("background-color: %1;").arg(colour.name()) : QString();
    const int captionHeight = group->fontMetrics().height();
    group->setStyleSheet(QStringLiteral("QGroupBox { %1 border: 1px solid palette(mid); border-radius: 3px;"
                                        " margin-top: 0px; padding: %2px 4px 4px 4px; }"
                                        "QGroupBox::title { subcontrol-origin: padding; subcontrol-position: top left;"
                                        " left: 6px; top: 3px; }")
                             .arg(background)
                             .arg(captionHeight + 4));
}

}  // namespace vorlin::ui
