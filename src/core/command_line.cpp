#include "core/command_line.h"

#include "core/ascii_case.h"

namespace vellix {

CommandLine CommandLine::fromArguments(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return CommandLine(std::move(text));
}

bool CommandLine::hasStop() const {
    return text_.find("/stop") != std::string::npos;
}

std::optional<std::string> CommandLine::mailto() const {
    static const std::string kSwitch = "/mailto:";
    if (const auto at = text_.find(kSwitch); at != std::string::npos) {
        return text_.substr(at + kSwitch.size());
    }
    // A link's scheme is case-blind; it counts only at the start of an argument.
    static constexpr std::string_view kScheme = "mailto:";
    for (std::size_t at = 0; at + kScheme.size() <= text_.size(); ++at) {
        if (at != 0 && text_[at - 1] != ' ') continue;
        if (startsWithNoCase(std::string_view(text_).substr(at), kScheme)) {
            return text_.substr(at + kScheme.size());
        }
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::conversation() const {
    static const std::string kMarker = "/im:";
    const auto at = text_.find(kMarker);
    if (at == std::string::npos) return std::nullopt;
    std::string address = text_.substr(at + kMarker.size());
    return address.substr(0, address.find(' '));
}

}  // namespace vellix
