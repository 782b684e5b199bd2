#include "ui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace vorlin::ui::icons {
namespace {

constexpr int kSize = 32;

QIcon draw(const std::function<void(QPainter&)>& paint)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / double(kSize), size / double(kSize));
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen pen(const QColor& color, qreal width = 3)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void triangle(QPainter& p, bool right, qreal x)
{
    QPainterPath path;
    if (right) {
        path.moveTo(x, 7);
        path.lineTo(x + 12, 16);
        path.lineTo(x, 25);
    } else {
        path.moveTo(x + 12, 7);
        path.lineTo(x, 16);
        path.lineTo(x + 12, 25);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(0x2b, 0x57, 0x9a));
}

void letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(24);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void lines(QPainter& p, Qt::Alignment alignment)
{
    p.setPen(pen(QColor(0x30, 0x30, 0x30), 2.5));
    const qreal widths[] = {24, 16, 24, 12};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 7 + i * 6;
        const qreal w = widths[i];
        const qreal x = alignment == Qt::AlignLeft ? 4 : alignment == Qt::AlignRight ? 28 - w : (kSize - w) / 2;
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
    }
}

}  // namespace

QIcon glyph(Glyph which)
{
    switch (which) {
    case Glyph::First:
        return draw([](QPainter& p) {
            p.fillRect(QRectF(6, 7, 3, 18), QColor(0x2b, 0x57, 0x9a));
            triangle(p, false, 11);
        });
    case Glyph::Prior:
        return draw([](QPainter& p) { triangle(p, false, 10); });
    case Glyph::Next:
        return draw([](QPainter& p) { triangle(p, true, 10); });
    case Glyph::Last:
        return draw([](QPainter& p) {
            triangle(p, true, 9);
            p.fillRect(QRectF(23, 7, 3, 18), QColor(0x2b, 0x57, 0x9a));
        });
    case Glyph::Insert:
        return draw([](QPainter& p) {
            p.setPen(pen(QColor(0x1e, 0x8a, 0x3c), 5));
            p.drawLine(QPointF(16, 6), QPointF(16, 26));
            p.drawLine(QPointF(6, 16), QPointF(26, 16));
        });
    case Glyph::Delete:
        return draw([](QPainter& p) {
            p.setPen(pen(QColor(0xc0, 0x2b, 0x2b), 5));
            p.drawLine(QPointF(6, 16), QPointF(26, 16));
        });
    case Glyph::Edit:
        return draw([](QPainter& p) {
            QPainterPath pencil;
            pencil.moveTo(7, 25);
            pencil.lineTo(9, 19);
            pencil.lineTo(21, 7);
            pencil.lineTo(25, 11);
            pencil.lineTo(13, 23);
            pencil.closeSubpath();
            p.fillPath(pencil, QColor(0xe0, 0xa0, 0x20));
            p.setPen(pen(QColor(0x60, 0x40, 0x10), 1.5));
            p.drawPath(pencil);
        });
    case Glyph::Post:
        return draw([](QPainter& p) {
            p.setPen(pen(QColor(0x1e, 0x8a, 0x3c), 4.5));
            p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
        });
    case Glyph::Cancel:
        return draw([](QPainter& p) {
            p.setPen(pen(QColor(0xc0, 0x2b, 0x2b), 4.5));
            p.drawLine(QPointF(8, 8), QPointF(24, 24));
            p.drawLine(QPointF(24, 8), QPointF(8, 24));
        });
    case Glyph::Refresh:
        return draw([](QPainter& p) {
            p.setPen(pen(QColor(0x2b, 0x57, 0x9a), 3.5));
            p.drawArc(QRectF(7, 7, 18, 18), 90 * 16, 270 * 16);
            QPainterPath head;
            head.moveTo(16, 2);
            head.lineTo(22, 7);
            head.lineTo(16, 12);
            head.closeSubpath();
            p.fillPath(head, QColor(0x2b, 0x57, 0x9a));
        });
    case Glyph::AlignLeft:
        return draw([](QPainter& p) { lines(p, Qt::AlignLeft); });
    case Glyph::AlignCenter:
        return draw([](QPainter& p) { lines(p, Qt::AlignHCenter); });
    case Glyph::AlignRight:
        return draw([](QPainter& p) { lines(p, Qt::AlignRight); });
    case Glyph::Bold:
        return draw([](QPainter& p) { letter(p, QStringLiteral("B"), true, false, false); });
    case Glyph::Italic:
        return draw([](QPainter& p) { letter(p, QStringLiteral("I"), false, true, false); });
    case Glyph::Underline:
        return draw([](QPainter& p) { letter(p, QStringLiteral("U"), false, false, true); });
    case Glyph::Font:
        return draw([](QPainter& p) {
            letter(p, QStringLiteral("A"), true, false, false);
            p.fillRect(QRectF(6, 27, 20, 3), QColor(0xc0, 0x2b, 0x2b));
        });
    case Glyph::Help:
        return draw([](QPainter& p) {
            p.setBrush(QColor(0x2b, 0x57, 0x9a));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QRectF(3, 3, 26, 26));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(20);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
        });
    }
    return {};
}

namespace {

// A blue rounded square with a white V; desktop/vorlin.svg draws the same.
void paintApplication(QPainter& p)
{
    QPainterPath page;
    page.addRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QLinearGradient gradient(0, 0, 0, kSize);
    gradient.setColorAt(0, QColor(0x3c, 0x6e, 0xb4));
    gradient.setColorAt(1, QColor(0x1d, 0x3f, 0x73));
    p.fillPath(page, gradient);
    p.setPen(pen(Qt::white, 4));
    p.drawPolyline(QPolygonF({QPointF(9, 9), QPointF(16, 24), QPointF(23, 9)}));
}

}  // namespace

QIcon application()
{
    return draw(paintApplication);
}

QImage applicationImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / double(kSize), size / double(kSize));
    paintApplication(painter);
    return image;
}

}  // namespace vorlin::ui::icons
