#include "core/windows/exit_confirm_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace vellix {
namespace {

QString qtext(const StringTable& strings, int id) {
    return QString::fromStdString(strings.text(id));
}

}  // namespace

ExitConfirmDialog::ExitConfirmDialog(const StringTable& strings, bool dontShowAgain,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vellix"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtext(strings, IDS_EXIT_QUESTION), this));
    dontShow_ = new QCheckBox(qtext(strings, IDS_EXIT_DONT_SHOW), this);
    dontShow_->setChecked(dontShowAgain);
    layout->addWidget(dontShow_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qtext(strings, IDS_BUTTON_YES), QDialogButtonBox::YesRole);
    QPushButton* no = buttons->addButton(qtext(strings, IDS_BUTTON_NO), QDialogButtonBox::NoRole);
    no->setDefault(true);
    connect(buttons, &QDialogButtonBox::clicked, this, [this, buttons](QAbstractButton* b) {
        done(buttons->buttonRole(b) == QDialogButtonBox::YesRole ? Accepted : Rejected);
    });
    layout->addWidget(buttons);
    adjustSize();
    // Centred on the desktop and brought to the front: it has no owner window.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

bool ExitConfirmDialog::dontShowAgain() const {
    return dontShow_->isChecked();
}

ExitConfirmation::Answer ExitConfirmationDialog::ask(bool dontShowAgain) {
    Answer answer;
    auto show = [&] {
        ExitConfirmDialog dialog(strings_, dontShowAgain);
        dialog.raise();
        dialog.activateWindow();
        answer.yes = dialog.exec() == QDialog::Accepted;
        answer.dontShowAgain = dialog.dontShowAgain();
    };
    if (QThread::currentThread() == qApp->thread()) {
        show();
    } else {
        QMetaObject::invokeMethod(qApp, show, Qt::BlockingQueuedConnection);
    }
    return answer;
}

}  // namespace vellix
