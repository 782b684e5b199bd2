#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace vorlin::ui {

// A spinner attached to an edit box: its arrows (and the arrow keys in the
// box) step the number shown in the box within a range. The box itself
// takes any text; only the arrows keep to numbers.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    int position() const { return position_; }
    // Sets the position and writes it into the box.
    void setPosition(int position);

    void stepBy(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* associate_;
    int minimum_;
    int maximum_;
    int position_ = 0;
};

}  // namespace vorlin::ui
