#include "ui/widgets/UpDown.h"

#include "common/Integer.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace vorlin::ui {

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), associate_(associate), minimum_(minimum), maximum_(maximum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* arrow = new QToolButton(this);
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAccessibleName(up ? QStringLiteral("Zvýšit") : QStringLiteral("Snížit"));
        arrow->setAutoRepeat(true);
        arrow->setFixedSize(16, 11);
        connect(arrow, &QToolButton::clicked, this, [this, up] { stepBy(up ? 1 : -1); });
        layout->addWidget(arrow);
    }
    associate_->installEventFilter(this);
}

void UpDown::setPosition(int position)
{
    position_ = position;
    associate_->setText(QString::number(position));
}

void UpDown::stepBy(int steps)
{
    // The box may have been typed into: step from what it shows.
    const int from = tryParseInteger(associate_->text()).value_or(position_);
    setPosition(std::clamp(from + steps, minimum_, maximum_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlin::ui
