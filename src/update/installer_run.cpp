#include "update/installer_run.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace vellix {

std::string installPrefix(const std::string& programFolder) {
    std::filesystem::path folder(programFolder);
    if (!folder.has_filename()) folder = folder.parent_path();  // a trailing "/"
    return folder.parent_path().string();
}

Result<int> runInstaller(const std::string& installerPath, const std::string& prefix) {
    std::string shell = "/bin/sh";
    std::string silent = "--silent";
    std::string prefixArgument = "--prefix=" + prefix;
    std::string path = installerPath;
    char* argv[] = {shell.data(), path.data(), silent.data(), prefixArgument.data(), nullptr};
    pid_t pid = 0;
    if (const int rc = ::posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv, environ);
        rc != 0) {
        return failure("cannot start the installer: " + std::string(std::strerror(rc)));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return failure("lost the installer: " + std::string(std::strerror(errno)));
    }
    if (WIFSIGNALED(status)) {
        return failure("the installer was ended by signal " + std::to_string(WTERMSIG(status)));
    }
    return WEXITSTATUS(status);
}

}  // namespace vellix
