#include "core/command_line.h"

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
    static const std::string kMarker = "/mailto:";
    const auto at = text_.find(kMarker);
    if (at == std::string::npos) return std::nullopt;
    return text_.substr(at + kMarker.size());
}

std::optional<std::string> CommandLine::conversation() const {
    static const std::string kMarker = "/im:";
    const auto at = text_.find(kMarker);
    if (at == std::string::npos) return std::nullopt;
    std::string address = text_.substr(at + kMarker.size());
    return address.substr(0, address.find(' '));
}

}  // namespace vellix
