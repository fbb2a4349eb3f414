#pragma once
// Ends a child process the test started: SIGTERM first, SIGKILL when it has not ended
// within `grace`. Returns its wait status; `pid` is -1 afterwards.

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

namespace vellix::test {

inline int endChild(pid_t& pid, std::chrono::milliseconds grace) {
    if (pid <= 0) return -1;
    ::kill(pid, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid = -1;
    return status;
}

}  // namespace vellix::test
