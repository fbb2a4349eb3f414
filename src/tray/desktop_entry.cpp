#include "tray/desktop_entry.h"

namespace vellix {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string entryText(std::string_view exec, std::string_view extraLines) {
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Vellix\n"
        "GenericName=Webmail Companion\n"
        "Comment=New-mail notices, messaging and webmail pages of a Skyloom server\n"
        "Icon=vellix\n"
        "Terminal=false\n";
    text += "Exec=";
    text += exec;
    text += '\n';
    text += extraLines;
    return text;
}

}  // namespace

std::string execArgument(std::string_view argument) {
    std::string quoted;
    const bool needsQuotes =
        argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    if (needsQuotes) quoted += '"';
    for (const char c : argument) {
        if (c == '%') {
            quoted += "%%";
            continue;
        }
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
        quoted += c;
    }
    if (needsQuotes) quoted += '"';
    // The Exec value is itself a string value, whose escape character is the backslash.
    std::string escaped;
    for (const char c : quoted) {
        if (c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string applicationEntryText(std::string_view executable) {
    return entryText(execArgument(executable) + " /%u",
                     "Categories=Network;Email;\n"
                     "MimeType=x-scheme-handler/mailto;\n"
                     "StartupNotify=false\n");
}

std::string autostartEntryText(std::string_view executable) {
    return entryText(execArgument(executable), "X-GNOME-Autostart-enabled=true\n");
}

std::optional<std::string> desktopEntryValue(std::string_view text, std::string_view key) {
    bool inEntry = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.starts_with(key)) continue;
        std::string_view rest = line.substr(key.size());
        while (rest.starts_with(' ')) rest.remove_prefix(1);
        if (!rest.starts_with('=')) continue;
        rest.remove_prefix(1);
        while (rest.starts_with(' ')) rest.remove_prefix(1);
        return std::string(rest);
    }
    return std::nullopt;
}

std::string execProgram(std::string_view exec) {
    // Undo the string-value escaping first, then the argument quoting.
    std::string value;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const char next = exec[++i];
            value += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            value += exec[i];
        }
    }
    std::string program;
    std::size_t i = 0;
    while (i < value.size() && value[i] == ' ') ++i;
    if (i < value.size() && value[i] == '"') {
        for (++i; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) ++i;
            program += value[i];
        }
    } else {
        for (; i < value.size() && value[i] != ' '; ++i) program += value[i];
    }
    std::string unpercent;
    for (std::size_t k = 0; k < program.size(); ++k) {
        unpercent += program[k];
        if (program[k] == '%' && k + 1 < program.size() && program[k + 1] == '%') ++k;
    }
    return unpercent;
}

}  // namespace vellix
