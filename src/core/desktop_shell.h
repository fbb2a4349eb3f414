#pragma once
// The desktop's ways of showing a page or starting a program. Every call returns at once:
// what it starts runs on its own, and a failure to start is returned, never thrown.

#include <string>

#include "core/result.h"

namespace vellix {

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;

    // Hands the address to the desktop, which opens it with the user's handler for it.
    virtual Status openUrl(const std::string& url) = 0;
    // Starts the browser on the address: the user's own browser command when one is
    // configured, otherwise as openUrl.
    virtual Status openInNewBrowser(const std::string& url) = 0;
    // Starts a program; parameters are split like a command line, without a shell.
    virtual Status startProgram(const std::string& program, const std::string& parameters) = 0;
};

}  // namespace vellix
