#pragma once
// Vellix as the desktop's mailto: handler: asked of and set through xdg-mime, with the
// user's own copy of vellix.desktop when the program is not installed for the system.

#include <functional>
#include <string>

#include "core/result.h"
#include "tray/tool_runner.h"

namespace vellix {

class DefaultMailClient {
  public:
    // executable: the absolute path the desktop entry starts.
    DefaultMailClient(const ToolRunner& runner, std::string executable);

    // True when the mailto: handler is vellix.desktop (any case).
    Result<bool> isDefault() const;
    // The same without waiting (see ToolRunner::start).
    void askIsDefault(QObject* owner, std::function<void(Result<bool>)> done) const;
    // Writes or refreshes the user's entry unless a system-wide one already starts this
    // executable, then makes it the mailto: handler.
    Status makeDefault() const;
    // The same without waiting for xdg-mime (the entry itself is written at once).
    void askMakeDefault(QObject* owner, std::function<void(Status)> done) const;

    // $XDG_DATA_HOME/applications/vellix.desktop.
    std::string userEntryPath() const;

  private:
    bool installedSystemWide() const;
    Status writeEntry() const;

    const ToolRunner& runner_;
    std::string executable_;
};

}  // namespace vellix
