#include "ui/widgets/WrappedCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace vorlin::ui {
namespace {

constexpr int kWidestLine = 180;  // pixels of caption before it wraps, when free to choose
constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter;

}  // namespace

WrappedCheckBox::WrappedCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize WrappedCheckBox::indicatorSize() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return {style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this),
            style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this)};
}

int WrappedCheckBox::spacing() const
{
    return style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect WrappedCheckBox::captionRect(int width) const
{
    const int textWidth = std::max(1, width - indicatorSize().width() - spacing());
    const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000), kTextFlags, text());
    return {0, 0, textWidth, bounds.height()};
}

QRect WrappedCheckBox::indicatorRect() const
{
    const QSize size = indicatorSize();
    return {width() - size.width(), (height() - size.height()) / 2, size.width(), size.height()};
}

int WrappedCheckBox::heightForWidth(int width) const
{
    return std::max(captionRect(width).height(), indicatorSize().height()) + 2;
}

QSize WrappedCheckBox::sizeHint() const
{
    const int width = kWidestLine + spacing() + indicatorSize().width();
    return {width, heightForWidth(width)};
}

QSize WrappedCheckBox::minimumSizeHint() const
{
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("použít")) + spacing() + indicatorSize().width();
    return {width, heightForWidth(width)};
}

void WrappedCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton box = option;
    box.rect = indicatorRect();
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    QRect caption = captionRect(width());
    caption.moveTop((height() - caption.height()) / 2);
    painter.drawItemText(caption, kTextFlags, option.palette, isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = caption.adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrappedCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

}  // namespace vorlin::ui
