#pragma once
// Where a new-mail note opens when the tray icon's place is known: beside the icon, on the
// side of it that faces the middle of the screen, kept inside the screen's free area.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vellix {

QPoint placeNearTrayIcon(const QRect& icon, const QSize& window, const QRect& screen);

}  // namespace vellix
