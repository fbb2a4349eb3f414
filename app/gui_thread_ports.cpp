#include "gui_thread_ports.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "core/desktop_shell.h"
#include "core/version.h"
#include "core/windows/exit_confirm_dialog.h"

namespace vellix {

void runOnGuiThread(QObject* guiObject, const std::function<void()>& work) {
    if (QThread::currentThread() == guiObject->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(guiObject, work, Qt::BlockingQueuedConnection);
}

GuiExitConfirmation::GuiExitConfirmation(QObject* guiObject, const StringTable& strings)
    : guiObject_(guiObject), strings_(strings) {
}

ExitConfirmation::Answer GuiExitConfirmation::ask(bool dontShowAgain) {
    Answer answer;
    runOnGuiThread(guiObject_,
                   [&] { answer = ExitConfirmationDialog(strings_).ask(dontShowAgain); });
    return answer;
}

void BuddyListOpener::open() {
    if (!dialog_) {
        dialog_ = new BuddyListDialog(deps_);
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void BuddyListOpener::userListArrived() {
    if (dialog_) dialog_->page()->userListArrived();
}

GuiMenuDesktop::GuiMenuDesktop(QObject* guiObject, DesktopShell& shell, BuddyListOpener& buddyList)
    : guiObject_(guiObject), shell_(shell), buddyList_(buddyList) {
}

void GuiMenuDesktop::showMessage(const std::string& text) {
    runOnGuiThread(guiObject_, [&] {
        QMessageBox::information(nullptr, QStringLiteral("Vellix"), QString::fromStdString(text));
    });
}

void GuiMenuDesktop::openUrl(const std::string& url) {
    (void)shell_.openInNewBrowser(url);
}

void GuiMenuDesktop::openFolder(const std::string& path) {
    (void)shell_.openUrl(path);
}

void GuiMenuDesktop::startProgram(const std::string& path) {
    (void)shell_.startProgram(path, {});
}

void GuiMenuDesktop::showOptions(OptionsPage page) {
    const QString version =
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));
    runOnGuiThread(guiObject_, [&] {
        if (page == OptionsPage::BuddyList) {
            buddyList_.open();
            return;
        }
        if (page == OptionsPage::About) {
            QMessageBox::about(nullptr, QStringLiteral("Vellix"),
                               QStringLiteral("Vellix %1").arg(version));
            return;
        }
        QMessageBox::information(
            nullptr, QStringLiteral("Vellix"),
            QStringLiteral("The options window is not part of Vellix %1 yet.").arg(version));
    });
}

}  // namespace vellix
