#include "ui/tpictogrammen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>

namespace {

const QColor inkt(60, 64, 76);

// Draws an icon once per size in a 32 by 32 coordinate system, so every size
// is sharp rather than scaled from one bitmap.
QIcon maakIcoon(const std::function<void(QPainter &)> &teken)
{
    QIcon icoon;
    for (int maat : {16, 22, 24, 32, 48}) {
        QPixmap pm(maat, maat);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(maat / 32.0, maat / 32.0);
        teken(p);
        p.end();
        icoon.addPixmap(pm);
    }
    return icoon;
}

// A sheet of paper with a folded corner, optionally with lines of text.
void tekenBlad(QPainter &p, const QRectF &r, bool regels)
{
    const qreal k = r.width() * 0.32;
    QPainterPath blad;
    blad.moveTo(r.left(), r.top());
    blad.lineTo(r.right() - k, r.top());
    blad.lineTo(r.right(), r.top() + k);
    blad.lineTo(r.right(), r.bottom());
    blad.lineTo(r.left(), r.bottom());
    blad.closeSubpath();
    p.setPen(QPen(inkt, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(blad);
    p.setBrush(QColor(205, 210, 222));
    p.drawPolygon(QPolygonF({QPointF(r.right() - k, r.top()), QPointF(r.right() - k, r.top() + k),
                             QPointF(r.right(), r.top() + k)}));
    if (!regels)
        return;
    p.setPen(QPen(QColor(70, 110, 190), 1.6, Qt::SolidLine, Qt::RoundCap));
    int n = 0;
    for (qreal y = r.top() + k + 2.5; y < r.bottom() - 2; y += 3.6, ++n) {
        const qreal eind = (n % 3 == 2) ? r.center().x() + 1 : r.right() - 3;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(eind, y));
    }
}

// A horizontal arrow from x1 to x2 at height y.
void tekenPijl(QPainter &p, qreal x1, qreal x2, qreal y, const QColor &kleur)
{
    const qreal richting = x2 > x1 ? 1 : -1;
    p.setPen(QPen(kleur.darker(140), 1.2));
    p.setBrush(kleur);
    QPainterPath pijl;
    pijl.moveTo(x1, y - 2.5);
    pijl.lineTo(x2 - richting * 8, y - 2.5);
    pijl.lineTo(x2 - richting * 8, y - 7);
    pijl.lineTo(x2, y);
    pijl.lineTo(x2 - richting * 8, y + 7);
    pijl.lineTo(x2 - richting * 8, y + 2.5);
    pijl.lineTo(x1, y + 2.5);
    pijl.closeSubpath();
    p.drawPath(pijl);
}

// A wave form between x1 and x2 around the middle line y.
void tekenGolf(QPainter &p, qreal x1, qreal x2, qreal y, qreal hoogte, qreal fase)
{
    QPainterPath golf;
    for (qreal x = x1; x <= x2; x += 1.0) {
        const qreal t = (x - x1) / (x2 - x1);
        const qreal omhullende = std::sin(t * M_PI) * (0.55 + 0.45 * std::sin(t * 9 + fase));
        const qreal dy = hoogte * omhullende * std::sin(x * 0.9 + fase);
        if (x == x1)
            golf.moveTo(x, y + dy);
        else
            golf.lineTo(x, y + dy);
    }
    p.drawPath(golf);
}

} // namespace

QPixmap TPictogrammen::logo(bool links)
{
    QPixmap pm(168, 74);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF vlak(1, 1, 166, 72);

    if (links) {
        // Two recordings, sewn together in the middle.
        QLinearGradient achtergrond(vlak.topLeft(), vlak.bottomRight());
        achtergrond.setColorAt(0, QColor(28, 52, 96));
        achtergrond.setColorAt(1, QColor(22, 110, 122));
        p.setPen(Qt::NoPen);
        p.setBrush(achtergrond);
        p.drawRoundedRect(vlak, 12, 12);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 176, 72), 2.2));
        tekenGolf(p, 10, 80, 37, 24, 0.0);
        p.setPen(QPen(QColor(140, 220, 255), 2.2));
        tekenGolf(p, 88, 158, 37, 24, 1.7);
        p.setPen(QPen(Qt::white, 1.6, Qt::DashLine));
        p.drawLine(QPointF(84, 8), QPointF(84, 66));
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        for (qreal y = 14; y < 64; y += 10)
            p.drawLine(QPointF(79, y), QPointF(89, y + 5));
    } else {
        // A needle drawing a thread through a seam of two pieces of cloth.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(236, 229, 214));
        p.drawRoundedRect(vlak, 12, 12);
        p.save();
        QPainterPath rand;
        rand.addRoundedRect(vlak, 12, 12);
        p.setClipPath(rand);
        p.setBrush(QColor(58, 96, 160));
        p.drawRect(QRectF(0, 0, 168, 34));
        p.setBrush(QColor(198, 84, 64));
        p.drawRect(QRectF(0, 40, 168, 34));
        p.restore();
        p.setPen(QPen(QColor(250, 240, 200), 2.4, Qt::SolidLine, Qt::RoundCap));
        for (qreal x = 12; x < 110; x += 14)
            p.drawLine(QPointF(x, 28), QPointF(x + 8, 46));
        QPainterPath draad;
        draad.moveTo(110, 46);
        draad.cubicTo(122, 64, 140, 10, 150, 22);
        p.setPen(QPen(QColor(250, 240, 200), 1.6));
        p.drawPath(draad);
        p.save();
        p.translate(132, 30);
        p.rotate(-32);
        QLinearGradient staal(0, -3, 0, 3);
        staal.setColorAt(0, QColor(245, 245, 250));
        staal.setColorAt(1, QColor(130, 135, 150));
        p.setPen(QPen(inkt, 1.0));
        p.setBrush(staal);
        QPainterPath naald;
        naald.moveTo(-34, 0);
        naald.cubicTo(-20, -3.2, 20, -3.2, 26, -2.6);
        naald.arcTo(QRectF(22, -3, 6, 6), 90, -180);
        naald.cubicTo(20, 3.2, -20, 3.2, -34, 0);
        p.drawPath(naald);
        p.setBrush(QColor(236, 229, 214));
        p.drawEllipse(QRectF(17, -1.2, 6, 2.4));
        p.restore();
    }
    p.end();
    return pm;
}

QIcon TPictogrammen::deur()
{
    return maakIcoon([](QPainter &p) {
        p.setPen(QPen(inkt, 1.4));
        p.setBrush(QColor(230, 224, 210));
        p.drawRect(QRectF(4, 3, 16, 26));
        // The open door, swung towards the viewer.
        p.setBrush(QColor(150, 96, 52));
        p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 6), QPointF(13, 31), QPointF(4, 29)}));
        p.setBrush(QColor(240, 200, 80));
        p.drawEllipse(QPointF(11, 18), 1.3, 1.3);
        tekenPijl(p, 15, 30, 16, QColor(210, 60, 50));
    });
}

QIcon TPictogrammen::openMap()
{
    return maakIcoon([](QPainter &p) {
        p.setPen(QPen(inkt, 1.4));
        p.setBrush(QColor(214, 168, 56));
        QPainterPath achter;
        achter.moveTo(2, 8);
        achter.lineTo(11, 8);
        achter.lineTo(13, 11);
        achter.lineTo(26, 11);
        achter.lineTo(26, 27);
        achter.lineTo(2, 27);
        achter.closeSubpath();
        p.drawPath(achter);
        tekenBlad(p, QRectF(7, 4, 16, 16), false);
        p.setPen(QPen(inkt, 1.4));
        p.setBrush(QColor(250, 208, 92));
        p.drawPolygon(QPolygonF({QPointF(6, 15), QPointF(31, 15), QPointF(26, 27), QPointF(2, 27)}));
    });
}

QIcon TPictogrammen::pijlen()
{
    return maakIcoon([](QPainter &p) {
        tekenPijl(p, 2, 30, 10, QColor(70, 170, 80));
        tekenPijl(p, 30, 2, 22, QColor(60, 120, 210));
    });
}

QIcon TPictogrammen::schijf()
{
    return maakIcoon([](QPainter &p) {
        p.setPen(QPen(inkt, 1.4));
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

QIcon TPictogrammen::programma()
{
    return maakIcoon([](QPainter &p) {
        p.setPen(QPen(inkt, 1.4));
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

QIcon TPictogrammen::blad()
{
    return maakIcoon([](QPainter &p) { tekenBlad(p, QRectF(6, 2, 20, 28), true); });
}

QIcon TPictogrammen::stapel()
{
    return maakIcoon([](QPainter &p) {
        tekenBlad(p, QRectF(2, 1, 17, 22), false);
        tekenBlad(p, QRectF(7, 5, 17, 22), false);
        tekenBlad(p, QRectF(12, 9, 17, 22), true);
    });
}

QIcon TPictogrammen::plaatje()
{
    return maakIcoon([](QPainter &p) {
        const QRectF r(5, 2, 22, 28);
        tekenBlad(p, r, false);
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

QIcon TPictogrammen::tweeBladen()
{
    return maakIcoon([](QPainter &p) {
        tekenBlad(p, QRectF(3, 2, 17, 23), true);
        tekenBlad(p, QRectF(12, 7, 17, 23), true);
    });
}
