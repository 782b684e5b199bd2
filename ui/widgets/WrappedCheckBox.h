#pragma once

#include <QCheckBox>

namespace vorlin::ui {

// A check box whose caption wraps over several lines, with the box drawn to
// the right of the caption. A click anywhere on it, the caption included,
// ticks it.
class WrappedCheckBox : public QCheckBox {
    Q_OBJECT
public:
    WrappedCheckBox(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // Where the box and the caption are drawn for a width.
    QRect indicatorRect() const;
    QRect captionRect(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QSize indicatorSize() const;
    int spacing() const;
};

}  // namespace vorlin::ui
