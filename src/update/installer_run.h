#pragma once
// Starts the downloaded installer silently and waits for it (on a worker thread).

#include <string>

#include "core/result.h"

namespace vellix {

// The prefix the running program was installed into: the parent of its folder
// ("/opt/vellix/bin/" gives "/opt/vellix").
std::string installPrefix(const std::string& programFolder);

// Runs "/bin/sh <installer> --silent --prefix=<prefix>" (through the shell, so a temporary
// folder mounted noexec does not stop it) and returns its exit status; an error when it
// could not start or was killed by a signal.
Result<int> runInstaller(const std::string& installerPath, const std::string& prefix);

}  // namespace vellix
