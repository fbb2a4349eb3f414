#include "im/windows/tree_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <map>

namespace vellix {
namespace {

constexpr int kBaseSize = 16;

void drawDot(QPainter& p, const QColor& fill, bool hollow) {
    p.setPen(QPen(fill.darker(140), 1.2));
    p.setBrush(hollow ? QBrush(Qt::white) : QBrush(fill));
    p.drawEllipse(QRectF(3, 3, 10, 10));
}

void drawAwayHands(QPainter& p) {
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 5));
    p.drawLine(QPointF(8, 8), QPointF(10.5, 8));
}

void drawFolder(QPainter& p, bool newMail) {
    QPainterPath shape;
    shape.moveTo(1.5, 4);
    shape.lineTo(6, 4);
    shape.lineTo(7.5, 5.5);
    shape.lineTo(14.5, 5.5);
    shape.lineTo(14.5, 13.5);
    shape.lineTo(1.5, 13.5);
    shape.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x6d, 0x1f), 1));
    p.setBrush(QColor(0xf2, 0xc9, 0x4c));
    p.drawPath(shape);
    if (!newMail) return;
    p.setPen(QPen(QColor(0x9c, 0x1c, 0x1c), 1));
    p.setBrush(QColor(0xe0, 0x35, 0x35));
    p.drawEllipse(QRectF(9, 1, 6, 6));
}

void draw(QPainter& p, TreePicture picture) {
    switch (picture) {
        case TreePicture::BuddyOnline:
            return drawDot(p, QColor(0x2e, 0xa0, 0x43), false);
        case TreePicture::BuddyAway:
            drawDot(p, QColor(0xe0, 0x9b, 0x16), false);
            return drawAwayHands(p);
        case TreePicture::BuddyOffline:
            return drawDot(p, QColor(0x90, 0x90, 0x90), true);
        case TreePicture::Empty:
            return drawFolder(p, false);
        case TreePicture::NewMail:
            return drawFolder(p, true);
    }
}

QPixmap render(TreePicture picture, qreal scale) {
    const int side = qRound(kBaseSize * scale);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, picture);
    return pixmap;
}

}  // namespace

QIcon treePicture(TreePicture picture) {
    // Drawn once each: a refresh of a thousand buddies shares them. Kept for the whole
    // run (never destroyed), so no pixmap outlives the application object at exit.
    static auto* const cache = new std::map<TreePicture, QIcon>;
    auto [it, added] = cache->try_emplace(picture);
    if (added) {
        for (const qreal scale : {1.0, 1.5, 2.0, 3.0}) it->second.addPixmap(render(picture, scale));
    }
    return it->second;
}

}  // namespace vellix
