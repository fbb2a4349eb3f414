#include "tray/windows/qt_note_windows.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "server/webmail_link.h"
#include "tray/new_mail_pass.h"
#include "tray/note_placement.h"
#include "tray/windows/note_dialog.h"
#include "tray/windows/server_notice_dialogs.h"

namespace vellix {
namespace {

void bringForward(QWidget* window) {
    window->show();
    window->raise();
}

// A new note opens beside the tray icon when the tray says where that is.
void openBesideTray(QWidget* window, const std::function<QRect()>& trayIcon) {
    const QRect icon = trayIcon ? trayIcon() : QRect();
    const QScreen* screen = icon.isValid() ? QGuiApplication::screenAt(icon.center()) : nullptr;
    if (!screen) return;
    window->adjustSize();
    window->move(placeNearTrayIcon(icon, window->size(), screen->availableGeometry()));
}

// Modeless windows go when the user is done with them.
void deleteWhenFinished(QDialog* dialog) {
    QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
}

}  // namespace

QtNoteWindows::QtNoteWindows(const FrameRegistry& registry, NotificationState& state,
                             const StringTable& strings, QObject* parent)
    : QObject(parent), registry_(registry), state_(state), strings_(strings) {
}

QtNoteWindows::~QtNoteWindows() {
    delete note_.data();
    delete disconnect_.data();
    for (const auto& alert : alerts_) delete alert.data();
}

void QtNoteWindows::showNote(std::vector<FolderStatus> folders) {
    QMetaObject::invokeMethod(
        this, [this, folders = std::move(folders)] { openNote(folders); }, Qt::QueuedConnection);
}

void QtNoteWindows::showDisconnect(std::string serverMessage) {
    QMetaObject::invokeMethod(
        this, [this, text = std::move(serverMessage)] { openDisconnect(text); },
        Qt::QueuedConnection);
}

void QtNoteWindows::showAlert(std::optional<std::string> text) {
    QMetaObject::invokeMethod(
        this, [this, text = std::move(text)] { openAlert(text); }, Qt::QueuedConnection);
}

void QtNoteWindows::closeDisconnect() {
    QMetaObject::invokeMethod(
        this, [this] { delete disconnect_.data(); }, Qt::QueuedConnection);
}

NoteDialog* QtNoteWindows::noteDialog() const {
    return note_;
}

DisconnectDialog* QtNoteWindows::disconnectDialog() const {
    return disconnect_;
}

std::vector<AlertWindow*> QtNoteWindows::alertWindows() const {
    std::vector<AlertWindow*> out;
    for (const auto& alert : alerts_) {
        if (alert) out.push_back(alert.data());
    }
    return out;
}

void QtNoteWindows::openNote(const std::vector<FolderStatus>& folders) {
    if (!note_) {
        note_ = new NoteDialog(strings_, folders, state_.noticeDelayed);
        deleteWhenFinished(note_);
        connect(note_, &NoteDialog::folderChosen, this, [this](const std::string& name) {
            registry_.post(FrameKind::Server, UM_OPEN_LINK, 0, 0,
                           makePayload(firstUnreadLink(name)));
        });
        connect(note_, &NoteDialog::closedWithBox, this,
                [this](bool dontReopen) { state_.noticeDelayed = dontReopen; });
        openBesideTray(note_, trayIcon_);
    }
    // Shown where it was, never moved.
    bringForward(note_);
}

void QtNoteWindows::openDisconnect(const std::string& serverMessage) {
    delete disconnect_.data();
    disconnect_ = new DisconnectDialog(strings_, serverMessage, help_);
    deleteWhenFinished(disconnect_);
    connect(disconnect_, &QDialog::accepted, this,
            [this] { registry_.post(FrameKind::Server, UM_CHECK_NOW); });
    bringForward(disconnect_);
}

void QtNoteWindows::openAlert(const std::optional<std::string>& text) {
    std::erase_if(alerts_, [](const QPointer<AlertWindow>& alert) { return alert.isNull(); });
    if (!text) {
        for (const auto& alert : alerts_) bringForward(alert);
        return;
    }
    // The same message while its window is still open is not shown twice.
    const auto open = std::ranges::find_if(
        alerts_, [&](const QPointer<AlertWindow>& alert) { return alert->text() == *text; });
    if (open != alerts_.end()) {
        bringForward(*open);
        return;
    }
    auto* alert = new AlertWindow(strings_, *text);
    deleteWhenFinished(alert);
    ++state_.pendingAlerts;
    connect(alert, &QObject::destroyed, this, [this] { --state_.pendingAlerts; });
    alerts_.emplace_back(alert);
    bringForward(alert);
}

}  // namespace vellix
