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

}  // namespace vellix
