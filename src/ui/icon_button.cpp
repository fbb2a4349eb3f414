#include "ui/icon_button.h"

namespace vellix {

IconButton::IconButton(const QIcon& icon, const QString& text, QWidget* parent)
    : QPushButton(icon, text, parent) {
    // Flat until hot: the pointer's position is what the button shows.
    setFlat(true);
    setAutoDefault(false);
    const int side = fontMetrics().height();
    setIconSize(QSize(side, side));
}

void IconButton::enterEvent(QEnterEvent* event) {
    hot_ = true;
    setFlat(false);
    QPushButton::enterEvent(event);
}

void IconButton::leaveEvent(QEvent* event) {
    hot_ = false;
    setFlat(true);
    QPushButton::leaveEvent(event);
}

}  // namespace vellix
