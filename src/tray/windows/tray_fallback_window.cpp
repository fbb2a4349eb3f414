#include "tray/windows/tray_fallback_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

#include "tray/tray_host.h"

namespace vellix {

TrayFallbackWindow::TrayFallbackWindow(Report report)
    : report_(std::move(report)), picture_(new QLabel(this)), text_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Vellix"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture_);
    layout->addWidget(text_, 1);
    text_->setTextFormat(Qt::PlainText);
    // Clicks on the labels are the window's clicks.
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    text_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TrayFallbackWindow::showState(const QIcon& icon, const QString& tip) {
    picture_->setPixmap(icon.pixmap(32, 32));
    text_->setText(tip);
    setWindowIcon(icon);
    setToolTip(tip);
    if (!dismissed_ && !isVisible()) show();
}

QString TrayFallbackWindow::text() const {
    return text_->text();
}

void TrayFallbackWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        report_(TrayClick::Menu, event->globalPosition().toPoint());
    }
    QWidget::mousePressEvent(event);
}

void TrayFallbackWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        report_(TrayClick::DoubleClick, event->globalPosition().toPoint());
    }
    QWidget::mouseDoubleClickEvent(event);
}

void TrayFallbackWindow::closeEvent(QCloseEvent* event) {
    dismissed_ = true;
    QWidget::closeEvent(event);
}

}  // namespace vellix
