#include "mainwindow/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace xantu {

namespace {

void DrawFolder(QPainter& p) {
    p.setPen(QColor(150, 110, 0));
    p.setBrush(QColor(240, 200, 60));
    QPainterPath tab;
    tab.moveTo(1.5, 3.5);
    tab.lineTo(6.5, 3.5);
    tab.lineTo(8.0, 5.0);
    tab.lineTo(1.5, 5.0);
    tab.closeSubpath();
    p.drawPath(tab);
    p.drawRect(QRectF(1.5, 5.0, 13, 8.5));
    p.setPen(QColor(255, 235, 150));
    p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
}

void DrawTV(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(90, 90, 90));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1.5, 1.5);
    p.setBrush(QColor(80, 160, 230));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(3, 5, 8, 6));
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QRectF(11.8, 5.5, 1.8, 1.8));
    p.drawEllipse(QRectF(11.8, 8.5, 1.8, 1.8));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLine(QPointF(6, 0.5), QPointF(8, 3.5));
    p.drawLine(QPointF(10, 0.5), QPointF(8, 3.5));
    p.drawLine(QPointF(4, 13), QPointF(3, 15));
    p.drawLine(QPointF(12, 13), QPointF(13, 15));
}

void DrawSpeaker(QPainter& p) {
    p.setPen(QColor(30, 60, 30));
    p.setBrush(QColor(60, 150, 70));
    QPainterPath cone;
    cone.moveTo(1.5, 6.0);
    cone.lineTo(4.5, 6.0);
    cone.lineTo(8.5, 2.5);
    cone.lineTo(8.5, 13.5);
    cone.lineTo(4.5, 10.0);
    cone.lineTo(1.5, 10.0);
    cone.closeSubpath();
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 100, 40), 1.2));
    p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6, 2.5, 9, 11), -60 * 16, 120 * 16);
}

void DrawSpecial(QPainter& p) {
    p.setPen(QColor(120, 60, 0));
    p.setBrush(QColor(250, 150, 40));
    QPainterPath diamond;
    diamond.moveTo(8, 1);
    diamond.lineTo(15, 8);
    diamond.lineTo(8, 15);
    diamond.lineTo(1, 8);
    diamond.closeSubpath();
    p.drawPath(diamond);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 9.5));
    p.drawPoint(QPointF(8, 11.8));
}

void DrawReserved(QPainter& p) {
    p.setPen(QColor(90, 90, 90));
    p.setBrush(QColor(225, 225, 225));
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

QIcon Make(void (*draw)(QPainter&)) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(16 * scale, 16 * scale);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            draw(p);
        }
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

QIcon TreeImage(int index) {
    static const std::array<QIcon, kTreeImageCount> images = {
        Make(DrawFolder), Make(DrawTV), Make(DrawSpeaker), Make(DrawSpecial), Make(DrawReserved),
    };
    if (index < 0 || index >= kTreeImageCount)
        return {};
    return images[static_cast<std::size_t>(index)];
}

} // namespace xantu
