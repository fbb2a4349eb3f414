#pragma once
// Where the settings files and user folders live. Everything is computed from explicit
// inputs (environment, executable path) so that callers and tests choose the home.
//
//   Vellix.ini      $XDG_CONFIG_HOME/Vellix/Vellix.ini (default ~/.config); when that folder
//                   cannot be made, "<executable path>.ini" beside the executable
//   data folder     $XDG_DATA_HOME/Vellix/ (default ~/.local/share); when that folder
//                   cannot be made, the executable's folder
//   user folder     data folder + account folder name + "/"
//   hand-over file  "<executable path>.tmp", left by the installer

#include <map>
#include <string>
#include <string_view>

#include "core/result.h"

namespace vellix {

using Environment = std::map<std::string, std::string>;

// XDG_CONFIG_HOME, XDG_DATA_HOME and HOME of this process.
Environment processEnvironment();

// The base folders by the XDG rules (unset, empty or relative values fall back to HOME);
// empty when neither is known.
std::string configHome(const Environment& env);
std::string dataHome(const Environment& env);

// Ends with "/".
std::string programFolder(std::string_view executablePath);
std::string iniBesideExecutable(std::string_view executablePath);
std::string handOverFilePath(std::string_view executablePath);

// Creates every missing level; success when the folder exists afterwards.
Status createFolders(const std::string& path);

struct SettingsLocation {
    std::string iniPath;
    std::string dataFolder;  // ends with "/"
};

// Creates the folders it settles on.
SettingsLocation locateSettings(const Environment& env, std::string_view executablePath);

// The folder name for an account: the name's bytes, except that "/", "\", "%", control
// bytes and DEL become "%XX" (upper-case hex), and the names "." and ".." become "%2E"
// and "%2E%2E". The mapping is one-to-one, so two accounts never share a folder and no
// name reaches outside the data folder. Empty names and results over 255 bytes fail.
Result<std::string> accountFolderName(std::string_view account);

// data folder + account folder name + "/".
Result<std::string> userFolderPath(const std::string& dataFolder, std::string_view account);

// Removes what writes cut short by a kill left behind: the temporary files beside
// Vellix.ini, in the data folder and in each user folder. Run at start, before any write.
int removeStaleTemporaryFiles(const std::string& iniPath, const std::string& dataFolder);

}  // namespace vellix
