#pragma once

#include <QColor>
#include <QGroupBox>

namespace vorlin::ui {

// A group's frame, in its colour when it has one, with the caption inside
// the frame and clear of its edge: the same in every window.
void frameGroup(QGroupBox* group, const QColor& colour = QColor());

}  // namespace vorlin::ui
