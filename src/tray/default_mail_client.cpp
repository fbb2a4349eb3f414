#include "tray/default_mail_client.h"

#include <filesystem>
#include <system_error>

#include "core/atomic_file.h"
#include "core/profile_document.h"
#include "server/webmail_url.h"
#include "tray/desktop_entry.h"

namespace vellix {
namespace {

const QString kXdgMime = QStringLiteral("xdg-mime");
const QString kMailtoType = QStringLiteral("x-scheme-handler/mailto");

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

std::string toolFailure(const ToolOutput& output) {
    return "xdg-mime ended with " + std::to_string(output.exitCode) + ": " +
           std::string(trimCommandText(output.err));
}

QStringList queryArguments() {
    return {QStringLiteral("query"), QStringLiteral("default"), kMailtoType};
}

Result<bool> handlerIsVellix(const Result<ToolOutput>& output) {
    if (!output) return Error{output.error()};
    if (output->exitCode != 0) return failure(toolFailure(*output));
    return equalsIgnoreCase(trimCommandText(output->out), kDesktopFileName);
}

QStringList setArguments() {
    return {QStringLiteral("default"),
            QString::fromUtf8(kDesktopFileName.data(), qsizetype(kDesktopFileName.size())),
            kMailtoType};
}

Status handlerSet(const Result<ToolOutput>& output) {
    if (!output) return Error{output.error()};
    if (output->exitCode != 0) return failure(toolFailure(*output));
    return success();
}

}  // namespace

DefaultMailClient::DefaultMailClient(const ToolRunner& runner, std::string executable)
    : runner_(runner), executable_(std::move(executable)) {
}

std::string DefaultMailClient::userEntryPath() const {
    const std::string base = dataHome(runner_.xdgEnvironment());
    if (base.empty()) return {};
    return base + "/applications/" + std::string(kDesktopFileName);
}

Result<bool> DefaultMailClient::isDefault() const {
    return handlerIsVellix(runner_.run(kXdgMime, queryArguments()));
}

void DefaultMailClient::askIsDefault(QObject* owner, std::function<void(Result<bool>)> done) const {
    runner_.start(
        kXdgMime, queryArguments(), owner,
        [done = std::move(done)](Result<ToolOutput> output) { done(handlerIsVellix(output)); });
}

bool DefaultMailClient::installedSystemWide() const {
    const Environment env = runner_.xdgEnvironment();
    const auto dirs = env.find("XDG_DATA_DIRS");
    std::string_view list = dirs != env.end() && !dirs->second.empty()
                                ? std::string_view(dirs->second)
                                : std::string_view("/usr/local/share/:/usr/share/");
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string dir(list.substr(0, colon));
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        if (dir.empty()) continue;
        const auto bytes = readFileBytes(dir + "/applications/" + std::string(kDesktopFileName));
        if (!bytes || !bytes->has_value()) continue;
        const auto exec = desktopEntryValue(**bytes, "Exec");
        // The first entry found is the one the desktop uses; it must start this program.
        return exec && sameFile(execProgram(*exec), executable_);
    }
    return false;
}

Status DefaultMailClient::writeEntry() const {
    const std::string path = userEntryPath();
    if (path.empty()) return failure("no home folder for desktop entries");
    if (fileExists(path) || !installedSystemWide()) {
        if (Status made = createFolders(path.substr(0, path.rfind('/'))); !made) return made;
        return writeFileAtomically(path, applicationEntryText(executable_));
    }
    return success();
}

Status DefaultMailClient::makeDefault() const {
    if (Status written = writeEntry(); !written) return written;
    return handlerSet(runner_.run(kXdgMime, setArguments()));
}

void DefaultMailClient::askMakeDefault(QObject* owner, std::function<void(Status)> done) const {
    if (Status written = writeEntry(); !written) return done(written);
    runner_.start(
        kXdgMime, setArguments(), owner,
        [done = std::move(done)](Result<ToolOutput> output) { done(handlerSet(output)); });
}

}  // namespace vellix
