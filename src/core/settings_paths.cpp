#include "core/settings_paths.h"

#include <cstdlib>
#include <filesystem>

#include "core/atomic_file_writer.h"
#include "core/settings_keys.h"

namespace vellix {

namespace {

std::string lookup(const Environment& env, const std::string& name) {
    const auto it = env.find(name);
    return it == env.end() ? std::string{} : it->second;
}

std::string xdgBase(const Environment& env, const std::string& variable,
                    const std::string& homeRelative) {
    std::string base = lookup(env, variable);
    if (!base.empty() && base.front() == '/') return base;
    const std::string home = lookup(env, "HOME");
    if (home.empty() || home.front() != '/') return {};
    return home + "/" + homeRelative;
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

Environment processEnvironment() {
    Environment env;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"}) {
        if (const char* value = std::getenv(name)) env[name] = value;
    }
    return env;
}

std::string configHome(const Environment& env) {
    return xdgBase(env, "XDG_CONFIG_HOME", ".config");
}

std::string dataHome(const Environment& env) {
    return xdgBase(env, "XDG_DATA_HOME", ".local/share");
}

std::string programFolder(std::string_view executablePath) {
    const auto slash = executablePath.rfind('/');
    if (slash == std::string_view::npos) return "./";
    return std::string(executablePath.substr(0, slash + 1));
}

std::string iniBesideExecutable(std::string_view executablePath) {
    return std::string(executablePath) + ".ini";
}

std::string handOverFilePath(std::string_view executablePath) {
    return std::string(executablePath) + ".tmp";
}

Status createFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (std::filesystem::is_directory(path, error)) return success();
    return failure("cannot create folder " + path);
}

SettingsLocation locateSettings(const Environment& env, std::string_view executablePath) {
    SettingsLocation location{iniBesideExecutable(executablePath), programFolder(executablePath)};
    if (const std::string base = configHome(env); !base.empty()) {
        const std::string folder = withoutTrailingSlashes(base) + "/Vellix";
        if (createFolders(folder)) location.iniPath = folder + "/" + std::string(kIniFileName);
    }
    if (const std::string base = dataHome(env); !base.empty()) {
        const std::string folder = withoutTrailingSlashes(base) + "/Vellix";
        if (createFolders(folder)) location.dataFolder = folder + "/";
    }
    return location;
}

Result<std::string> accountFolderName(std::string_view account) {
    if (account.empty()) return failure("empty account name");
    if (account == "." || account == "..") {
        std::string dots;
        for (std::size_t i = 0; i < account.size(); ++i) dots += "%2E";
        return dots;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    name.reserve(account.size());
    for (char ch : account) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F || ch == '/' || ch == '\\' || ch == '%') {
            name += '%';
            name += kHex[byte >> 4];
            name += kHex[byte & 0x0F];
        } else {
            name += ch;
        }
    }
    if (name.size() > 255) return failure("account name too long for a folder name");
    return name;
}

Result<std::string> userFolderPath(const std::string& dataFolder, std::string_view account) {
    auto name = accountFolderName(account);
    if (!name) return failure(name.error());
    std::string folder = dataFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + *name + "/";
}

int removeStaleTemporaryFiles(const std::string& iniPath, const std::string& dataFolder) {
    const auto slash = iniPath.rfind('/');
    int removed = slash == std::string::npos ? 0 : removeStaleTempFiles(iniPath.substr(0, slash));
    if (dataFolder.empty()) return removed;
    removed += removeStaleTempFiles(dataFolder);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder, error)) {
        if (!entry.is_symlink(error) && entry.is_directory(error)) {
            removed += removeStaleTempFiles(entry.path().string());
        }
    }
    return removed;
}

}  // namespace vellix
