#pragma once
// The command line as one text, searched the way the program always has: case-sensitive,
// anywhere in the text.

#include <optional>
#include <string>

namespace vellix {

class CommandLine {
  public:
    explicit CommandLine(std::string text) : text_(std::move(text)) {}
    static CommandLine fromArguments(int argc, const char* const* argv);

    const std::string& text() const { return text_; }
    bool hasStop() const;
    // The text after "/mailto:", or else after a bare "mailto:" argument (as a desktop
    // launcher passes a link), when present.
    std::optional<std::string> mailto() const;
    // The address after "/im:", when present: a conversation to open.
    std::optional<std::string> conversation() const;

  private:
    std::string text_;
};

}  // namespace vellix
