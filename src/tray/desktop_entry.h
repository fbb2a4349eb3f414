#pragma once
// Desktop entry files (freedesktop.org): the application entry that makes Vellix a mailto:
// handler, and the autostart entry.

#include <optional>
#include <string>
#include <string_view>

namespace vellix {

inline constexpr std::string_view kDesktopFileName = "vellix.desktop";

// One argument of an Exec line, quoted when it holds a reserved character, with "%" as
// "%%" and the string-value escaping of backslashes applied.
std::string execArgument(std::string_view argument);

// The application entry. The desktop expands "/%u" to "/mailto:..." so that the program
// gets the same "/mailto:" argument a second instance hands over.
std::string applicationEntryText(std::string_view executable);
// The entry the session starts at login.
std::string autostartEntryText(std::string_view executable);

// The value of `key` in the [Desktop Entry] group, as written (no unescaping).
std::optional<std::string> desktopEntryValue(std::string_view text, std::string_view key);
// The program of an Exec value: its first argument, unquoted and unescaped.
std::string execProgram(std::string_view exec);

}  // namespace vellix
