#pragma once
// The windows the note frame opens: the new-mail note (dialog 144), the disconnect dialog
// (187) and the administrator alert (250). Calls come from the note thread and never wait
// for the user.

#include <optional>
#include <string>
#include <vector>

#include "server/folder_table.h"

namespace vellix {

class NoteWindows {
  public:
    virtual ~NoteWindows() = default;
    // Opens the note window listing these folders, or, when one is open, only brings it to
    // the front.
    virtual void showNote(std::vector<FolderStatus> folders) = 0;
    // Replaces an open disconnect dialog with one showing the server's message.
    virtual void showDisconnect(std::string serverMessage) = 0;
    // A new alert window for the text; without text, the open alert windows come forward.
    virtual void showAlert(std::optional<std::string> text) = 0;
};

}  // namespace vellix
