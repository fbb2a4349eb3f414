#include "ui/splash_window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace vellix {

CSplashWnd::CSplashWnd(const QString& version) : version_(version) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    // Sized by the font, so it keeps its proportions at any scale.
    const int unit = fontMetrics().height();
    resize(unit * 22, unit * 9);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int unit = fontMetrics().height();
    const QRect iconRect(unit, unit * 2, unit * 5, unit * 5);
    QIcon(QStringLiteral(":/icons/vellix.svg")).paint(&painter, iconRect);
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 2);
    title.setWeight(QFont::DemiBold);
    painter.setFont(title);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect text(unit * 7, unit * 2, width() - unit * 8, unit * 3);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vellix"));
    painter.setFont(font());
    painter.drawText(text.translated(0, unit * 3), Qt::AlignLeft | Qt::AlignTop, version_);
}

void CSplashWnd::keyPressEvent(QKeyEvent* event) {
    event->accept();
    close();
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
    close();
}

}  // namespace vellix
