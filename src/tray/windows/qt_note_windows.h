#pragma once
// The note frame's windows on the GUI thread. Calls from other threads are queued to it and
// return at once; nothing here waits for the user.

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>

#include <vector>

#include "core/frame_registry.h"
#include "core/string_table.h"
#include "tray/note_windows.h"
#include "tray/notification_state.h"

class QWidget;

namespace vellix {

class NoteDialog;
class DisconnectDialog;
class AlertWindow;

class QtNoteWindows final : public QObject, public NoteWindows {
    Q_OBJECT
  public:
    // Create on the GUI thread.
    QtNoteWindows(const FrameRegistry& registry, NotificationState& state,
                  const StringTable& strings, QObject* parent = nullptr);
    ~QtNoteWindows() override;

    void showNote(std::vector<FolderStatus> folders) override;
    void showDisconnect(std::string serverMessage) override;
    void closeDisconnect() override;
    void showAlert(std::optional<std::string> text) override;

    // Where the tray icon is on the screen (an invalid rectangle when unknown); a new note
    // opens beside it.
    void setTrayIconGeometry(std::function<QRect()> geometry) { trayIcon_ = std::move(geometry); }
    // Opens the disconnect dialog's help page over that dialog; without it there is no Help.
    void setDisconnectHelp(std::function<void(QWidget*)> open) { help_ = std::move(open); }

    // On the GUI thread: the windows open now (tests and the tray side look).
    NoteDialog* noteDialog() const;
    DisconnectDialog* disconnectDialog() const;
    std::vector<AlertWindow*> alertWindows() const;

  private:
    void openNote(const std::vector<FolderStatus>& folders);
    void openDisconnect(const std::string& serverMessage);
    void openAlert(const std::optional<std::string>& text);

    const FrameRegistry& registry_;
    NotificationState& state_;
    const StringTable& strings_;
    QPointer<NoteDialog> note_;
    QPointer<DisconnectDialog> disconnect_;
    std::vector<QPointer<AlertWindow>> alerts_;
    std::function<QRect()> trayIcon_;
    std::function<void(QWidget*)> help_;
};

}  // namespace vellix
