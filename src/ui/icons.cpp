#include "ui/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>

namespace {

const QColor ink(60, 64, 76);

// Draws an icon once per size in a 32 by 32 coordinate system, so every size
// is sharp rather than scaled from one bitmap.
QIcon makeIcon(const std::function<void(QPainter &)> &draw)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

// A sheet of paper with a folded corner, optionally with lines of text.
void drawSheet(QPainter &p, const QRectF &r, bool lines)
{
    const qreal k = r.width() * 0.32;
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - k, r.top());
    sheet.lineTo(r.right(), r.top() + k);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(ink, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(205, 210, 222));
    p.drawPolygon(QPolygonF({QPointF(r.right() - k, r.top()), QPointF(r.right() - k, r.top() + k),
                             QPointF(r.right(), r.top() + k)}));
    if (!lines)
        return;
    p.setPen(QPen(QColor(70, 110, 190), 1.6, Qt::SolidLine, Qt::RoundCap));
    int n = 0;
    for (qreal y = r.top() + k + 2.5; y < r.bottom() - 2; y += 3.6, ++n) {
        const qreal lineEnd = (n % 3 == 2) ? r.center().x() + 1 : r.right() - 3;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(lineEnd, y));
    }
}

// A horizontal arrow from x1 to x2 at height y.
void drawArrow(QPainter &p, qreal x1, qreal x2, qreal y, const QColor &colour)
{
    const qreal direction = x2 > x1 ? 1 : -1;
    p.setPen(QPen(colour.darker(140), 1.2));
    p.setBrush(colour);
    QPainterPath arrow;
    arrow.moveTo(x1, y - 2.5);
    arrow.lineTo(x2 - direction * 8, y - 2.5);
    arrow.lineTo(x2 - direction * 8, y - 7);
    arrow.lineTo(x2, y);
    arrow.lineTo(x2 - direction * 8, y + 7);
    arrow.lineTo(x2 - direction * 8, y + 2.5);
    arrow.lineTo(x1, y + 2.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

// A wave form between x1 and x2 around the middle line y.
void drawWave(QPainter &p, qreal x1, qreal x2, qreal y, qreal height, qreal phase)
{
    QPainterPath wave;
    for (qreal x = x1; x <= x2; x += 1.0) {
        const qreal t = (x - x1) / (x2 - x1);
        const qreal envelope = std::sin(t * M_PI) * (0.55 + 0.45 * std::sin(t * 9 + phase));
        const qreal dy = height * envelope * std::sin(x * 0.9 + phase);
        if (x == x1)
            wave.moveTo(x, y + dy);
        else
            wave.lineTo(x, y + dy);
    }
    p.drawPath(wave);
}

} // namespace

QPixmap Icons::logo(bool left)
{
    QPixmap pm(168, 74);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(1, 1, 166, 72);

    if (left) {
        // Two recordings, sewn together in the middle.
        QLinearGradient background(area.topLeft(), area.bottomRight());
        background.setColorAt(0, QColor(28, 52, 96));
        background.setColorAt(1, QColor(22, 110, 122));
        p.setPen(Qt::NoPen);
        p.setBrush(background);
        p.drawRoundedRect(area, 12, 12);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 176, 72), 2.2));
        drawWave(p, 10, 80, 37, 24, 0.0);
        p.setPen(QPen(QColor(140, 220, 255), 2.2));
        drawWave(p, 88, 158, 37, 24, 1.7);
        p.setPen(QPen(Qt::white, 1.6, Qt::DashLine));
        p.drawLine(QPointF(84, 8), QPointF(84, 66));
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        for (qreal y = 14; y < 64; y += 10)
            p.drawLine(QPointF(79, y), QPointF(89, y + 5));
    } else {
        // A needle drawing a thread through a seam of two pieces of cloth.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(236, 229, 214));
        p.drawRoundedRect(area, 12, 12);
        p.save();
        QPainterPath border;
        border.addRoundedRect(area, 12, 12);
        p.setClipPath(border);
        p.setBrush(QColor(58, 96, 160));
        p.drawRect(QRectF(0, 0, 168, 34));
        p.setBrush(QColor(198, 84, 64));
        p.drawRect(QRectF(0, 40, 168, 34));
        p.restore();
        p.setPen(QPen(QColor(250, 240, 200), 2.4, Qt::SolidLine, Qt::RoundCap));
        for (qreal x = 12; x < 110; x += 14)
            p.drawLine(QPointF(x, 28), QPointF(x + 8, 46));
        QPainterPath thread;
        thread.moveTo(110, 46);
        thread.cubicTo(122, 64, 140, 10, 150, 22);
        p.setPen(QPen(QColor(250, 240, 200), 1.6));
        p.drawPath(thread);
        p.save();
        p.translate(132, 30);
        p.rotate(-32);
        QLinearGradient steel(0, -3, 0, 3);
        steel.setColorAt(0, QColor(245, 245, 250));
        steel.setColorAt(1, QColor(130, 135, 150));
        p.setPen(QPen(ink, 1.0));
        p.setBrush(steel);
        QPainterPath needle;
        needle.moveTo(-34, 0);
        needle.cubicTo(-20, -3.2, 20, -3.2, 26, -2.6);
        needle.arcTo(QRectF(22, -3, 6, 6), 90, -180);
        needle.cubicTo(20, 3.2, -20, 3.2, -34, 0);
        p.drawPath(needle);
        p.setBrush(QColor(236, 229, 214));
        p.drawEllipse(QRectF(17, -1.2, 6, 2.4));
        p.restore();
    }
    p.end();
    return pm;
}

QIcon Icons::exitDoor()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(230, 224, 210));
        p.drawRect(QRectF(4, 3, 16, 26));
        // The open door, swung towards the viewer.
        p.setBrush(QColor(150, 96, 52));
        p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 6), QPointF(13, 31), QPointF(4, 29)}));
        p.setBrush(QColor(240, 200, 80));
        p.drawEllipse(QPointF(11, 18), 1.3, 1.3);
        drawArrow(p, 15, 30, 16, QColor(210, 60, 50));
    });
}

QIcon Icons::openFolder()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(214, 168, 56));
        QPainterPath back;
        back.moveTo(2, 8);
        back.lineTo(11, 8);
        back.lineTo(13, 11);
        back.lineTo(26, 11);
        back.lineTo(26, 27);
        back.lineTo(2, 27);
        back.closeSubpath();
        p.drawPath(back);
        drawSheet(p, QRectF(7, 4, 16, 16), false);
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(250, 208, 92));
        p.drawPolygon(QPolygonF({QPointF(6, 15), QPointF(31, 15), QPointF(26, 27), QPointF(2, 27)}));
    });
}

QIcon Icons::arrows()
{
    return makeIcon([](QPainter &p) {
        drawArrow(p, 2, 30, 10, QColor(70, 170, 80));
        drawArrow(p, 30, 2, 22, QColor(60, 120, 210));
    });
}

QIcon Icons::disk()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(52, 90, 170));
        p.drawPolygon(QPolygonF({QPointF(3, 3), QPointF(25, 3), QPointF(29, 7), QPointF(29, 29),
                                 QPointF(3, 29)}));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(9, 3, 13, 9));
        p.setBrush(QColor(52, 90, 170));
        p.drawRect(QRectF(17, 5, 3, 5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 16, 18, 13));
        p.setPen(QPen(QColor(150, 160, 180), 1.2));
        p.drawLine(QPointF(10, 20), QPointF(22, 20));
        p.drawLine(QPointF(10, 24), QPointF(22, 24));
    });
}

QIcon Icons::program()
{
    return makeIcon([](QPainter &p) {
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(245, 246, 250));
        p.drawRoundedRect(QRectF(2, 4, 28, 24), 2, 2);
        p.setBrush(QColor(60, 110, 200));
        p.drawRect(QRectF(2, 4, 28, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(26 - i * 4, 7), 1.1, 1.1);
        p.setBrush(QColor(90, 170, 90));
        p.drawRect(QRectF(6, 14, 8, 10));
        p.setPen(QPen(QColor(150, 160, 180), 1.6));
        p.drawLine(QPointF(17, 15), QPointF(26, 15));
        p.drawLine(QPointF(17, 19), QPointF(26, 19));
        p.drawLine(QPointF(17, 23), QPointF(23, 23));
    });
}

QIcon Icons::sheet()
{
    return makeIcon([](QPainter &p) { drawSheet(p, QRectF(6, 2, 20, 28), true); });
}

QIcon Icons::stack()
{
    return makeIcon([](QPainter &p) {
        drawSheet(p, QRectF(2, 1, 17, 22), false);
        drawSheet(p, QRectF(7, 5, 17, 22), false);
        drawSheet(p, QRectF(12, 9, 17, 22), true);
    });
}

QIcon Icons::picture()
{
    return makeIcon([](QPainter &p) {
        const QRectF r(5, 2, 22, 28);
        drawSheet(p, r, false);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 200, 240));
        p.drawRect(QRectF(8, 11, 16, 15));
        p.setBrush(QColor(250, 200, 60));
        p.drawEllipse(QPointF(19, 15), 2.2, 2.2);
        p.setBrush(QColor(80, 160, 80));
        p.drawPolygon(QPolygonF({QPointF(8, 26), QPointF(13, 17), QPointF(18, 26)}));
        p.setBrush(QColor(50, 130, 60));
        p.drawPolygon(QPolygonF({QPointF(13, 26), QPointF(19, 20), QPointF(24, 26)}));
    });
}

QIcon Icons::twoSheets()
{
    return makeIcon([](QPainter &p) {
        drawSheet(p, QRectF(3, 2, 17, 23), true);
        drawSheet(p, QRectF(12, 7, 17, 23), true);
    });
}
