#include "gui_thread_ports.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QThread>

#include "core/desktop_shell.h"
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

GuiMenuDesktop::GuiMenuDesktop(QObject* guiObject, DesktopShell& shell, const StringTable& strings)
    : guiObject_(guiObject), shell_(shell), strings_(strings) {
}

void GuiMenuDesktop::reportFailure(const Status& status) {
    if (status) return;
    std::string text = strings_.text(IDS_DESKTOP_ACTION_FAILED);
    const auto at = text.find("%s");
    showMessage(at == std::string::npos ? text : text.replace(at, 2, status.error()));
}

void GuiMenuDesktop::showMessage(const std::string& text) {
    runOnGuiThread(guiObject_, [&] {
        QMessageBox::information(nullptr, QStringLiteral("Vellix"), QString::fromStdString(text));
    });
}

void GuiMenuDesktop::openUrl(const std::string& url) {
    reportFailure(shell_.openInNewBrowser(url));
}

void GuiMenuDesktop::openFolder(const std::string& path) {
    // xdg-open ends with an error when no program opens folders, so it is watched to its
    // end here rather than started detached.
    runOnGuiThread(guiObject_, [this, path] {
        auto* opener = new QProcess(guiObject_);
        QObject::connect(opener, &QProcess::finished, guiObject_,
                         [this, opener, path](int code, QProcess::ExitStatus) {
                             opener->deleteLater();
                             if (code == 0) return;
                             reportFailure(failure("xdg-open " + path + " ended with code " +
                                                   std::to_string(code)));
                         });
        QObject::connect(opener, &QProcess::errorOccurred, guiObject_,
                         [this, opener](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart) return;
                             opener->deleteLater();
                             reportFailure(failure(opener->errorString().toStdString()));
                         });
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->start(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
    });
}

void GuiMenuDesktop::startProgram(const std::string& path) {
    reportFailure(shell_.startProgram(path, {}));
}

}  // namespace vellix
