#include "ui/link_label.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "core/desktop_shell.h"

namespace vellix {

LinkLabel::LinkLabel(const QString& text, DesktopShell* shell, QWidget* parent)
    : QLabel(text, parent), shell_(shell) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setHot(false);
}

std::string LinkLabel::address() const {
    return target_.empty() ? text().toStdString() : target_;
}

void LinkLabel::setHot(bool hot) {
    hot_ = hot;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, hot ? QColor(255, 0, 0) : QColor(0, 0, 255));
    setPalette(p);
    QFont f = font();
    f.setUnderline(hot || hasFocus());
    setFont(f);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    setHot(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    setHot(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        activate();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        activate();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::activate() {
    if (shell_) {
        if (const Status opened = shell_->openInNewBrowser(address()); !opened) {
            Q_EMIT openFailed(QString::fromStdString(opened.error()));
        }
    }
    if (afterClick_) afterClick_();
}

}  // namespace vellix
