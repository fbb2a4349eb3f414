#pragma once
// The note frame: the new-mail pass, the note window and the server's notices.

#include "core/frame.h"
#include "core/frame_registry.h"
#include "core/new_mail_notifier.h"
#include "core/sound_player.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "server/folder_table.h"
#include "tray/note_windows.h"
#include "tray/notification_state.h"

namespace vellix {

struct NoteFrameDeps {
    const FrameRegistry& registry;
    const FolderTable& folders;
    NotificationState& state;
    const AccountSettingsFile& settings;
    const StringTable& strings;
    NoteWindows& windows;
    SoundPlayer* sound = nullptr;
    // The desktop notification beside the note window; used when the account asks for it.
    NewMailNotifier* notifier = nullptr;
};

class CMainFrame_Note final : public Frame {
    Q_OBJECT
  public:
    CMainFrame_Note(const Clock& clock, NoteFrameDeps deps);

  protected:
    LResult handleMessage(Message& message) override;

  private:
    void runPass();
    void playNewMailSound();
    void notifyDesktop(const std::vector<FolderStatus>& arrived);

    NoteFrameDeps deps_;
};

}  // namespace vellix
