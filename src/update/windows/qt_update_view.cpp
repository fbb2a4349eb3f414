#include "update/windows/qt_update_view.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <climits>

namespace vellix {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void centreOnScreen(QWidget* window) {
    window->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

// Ends a dialog without calling back into the updater.
void dispose(QPointer<QDialog>& dialog) {
    if (!dialog) return;
    dialog->disconnect();
    dialog->hide();
    dialog->deleteLater();
    dialog = nullptr;
}

}  // namespace

QtUpdateView::~QtUpdateView() {
    close();
}

void QtUpdateView::ask(std::function<void(bool)> answered) {
    dispose(question_);
    auto* dialog = new QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(qs(strings_.text(IDS_UPDATE_TITLE)));
    auto* layout = new QVBoxLayout(dialog);
    auto* label = new QLabel(qs(strings_.text(IDS_UPDATE_AVAILABLE)), dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* now =
        buttons->addButton(qs(strings_.text(IDS_UPDATE_NOW)), QDialogButtonBox::AcceptRole);
    QPushButton* later =
        buttons->addButton(qs(strings_.text(IDS_UPDATE_LATER)), QDialogButtonBox::RejectRole);
    now->setObjectName(QStringLiteral("updateNow"));
    later->setObjectName(QStringLiteral("updateLater"));
    now->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(
        dialog, &QDialog::finished, dialog,
        [answered = std::move(answered)](int result) { answered(result == QDialog::Accepted); });
    question_ = dialog;
    dialog->setWindowModality(Qt::ApplicationModal);
    centreOnScreen(dialog);
    dialog->open();
}

void QtUpdateView::showProgress(std::function<void()> cancelled) {
    dispose(progress_);
    auto* dialog = new QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    dialog->setObjectName(QStringLiteral("updateProgress"));
    dialog->setWindowTitle(qs(strings_.text(IDS_UPDATE_PROGRESS_TITLE)));
    auto* layout = new QVBoxLayout(dialog);
    text_ = new QLabel(dialog);
    text_->setObjectName(QStringLiteral("progressText"));
    // Room for the longest progress text, so the dialog does not jump as it changes.
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(
        QStringLiteral("Receiving 999999.99 KB of 999999.99 KB (99999.99 KB/sec)")));
    bar_ = new QProgressBar(dialog);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(strings_.text(IDS_BUTTON_CANCEL)));
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(buttons);
    // Cancel, Escape and the window's close button all cancel.
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::rejected, dialog,
                     [cancelled = std::move(cancelled)] { cancelled(); });
    progress_ = dialog;
    centreOnScreen(dialog);
    dialog->show();
}

void QtUpdateView::setTotal(std::uint64_t total) {
    if (!bar_) return;
    shift_ = 0;
    while ((total >> shift_) > static_cast<std::uint64_t>(INT_MAX)) ++shift_;
    bar_->setRange(0, static_cast<int>(total >> shift_));
}

void QtUpdateView::setProgress(const std::string& text, std::uint64_t received) {
    if (text_) text_->setText(qs(text));
    if (bar_)
        bar_->setValue(static_cast<int>(std::min<std::uint64_t>(received >> shift_, INT_MAX)));
}

void QtUpdateView::setText(const std::string& text) {
    if (text_) text_->setText(qs(text));
}

void QtUpdateView::tell(bool error, const std::string& text, std::function<void()> closed) {
    dispose(message_);
    auto* box =
        new QMessageBox(error ? QMessageBox::Critical : QMessageBox::Information,
                        QStringLiteral("Vellix"), qs(text), QMessageBox::Ok, progress_.data());
    box->setObjectName(QStringLiteral("updateMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)] { closed(); });
    message_ = box;
    box->open();
}

void QtUpdateView::close() {
    dispose(message_);
    dispose(question_);
    dispose(progress_);
}

}  // namespace vellix
