#include "platform/user_dictionary.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vellix {
namespace {

std::optional<std::string> acceptedWord(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    const auto tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos) return std::nullopt;
    if (line.substr(tab + 1) != "i") return std::nullopt;
    return std::string(line.substr(0, tab));
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

UserDictionary UserDictionary::parse(std::string_view text) {
    UserDictionary dictionary;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        dictionary.lines_.push_back({std::string(line), acceptedWord(line)});
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return dictionary;
}

std::vector<std::string> UserDictionary::words() const {
    std::vector<std::string> out;
    for (const auto& line : lines_) {
        if (line.word && std::ranges::find(out, *line.word) == out.end()) out.push_back(*line.word);
    }
    return out;
}

bool UserDictionary::contains(std::string_view word) const {
    return std::ranges::any_of(lines_, [&](const Line& l) { return l.word && *l.word == word; });
}

bool UserDictionary::add(std::string_view word) {
    auto line = entryLine(word);
    if (!line || contains(word)) return false;
    if (lines_.empty()) lines_.push_back({std::string(kHeader), std::nullopt});
    line.value().pop_back();  // lines are stored without their line feed
    lines_.push_back({std::move(line).value(), std::string(word)});
    return true;
}

bool UserDictionary::remove(std::string_view word) {
    return std::erase_if(lines_, [&](const Line& l) { return l.word && *l.word == word; }) > 0;
}

std::string UserDictionary::text() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line.raw;
        out += '\n';
    }
    return out;
}

Result<std::string> UserDictionary::entryLine(std::string_view word) {
    if (word.empty()) return failure("an empty word cannot be added to the dictionary");
    if (word.find_first_of("\t\r\n") != std::string_view::npos) {
        return failure("a word with a tab or line break cannot be added to the dictionary");
    }
    return std::string(word) + "\ti\n";
}

Result<UserDictionary> loadUserDictionary(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return UserDictionary{};
    if (status.type() != std::filesystem::file_type::regular) {
        return failure("cannot read " + path + ": not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure(systemError("cannot read", path));
    std::ostringstream text;
    if (in.peek() != std::ifstream::traits_type::eof()) text << in.rdbuf();
    if (in.bad() || text.fail()) return failure(systemError("cannot read", path));
    return UserDictionary::parse(text.str());
}

Status saveUserDictionary(const std::string& path, const UserDictionary& dictionary) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return failure(systemError("cannot write", temporary));
        out << dictionary.text();
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return failure(systemError("cannot write", temporary));
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string message = systemError("cannot replace", path);
        std::remove(temporary.c_str());
        return failure(message);
    }
    return success();
}

Status appendUserWord(const std::string& path, std::string_view word) {
    auto line = UserDictionary::entryLine(word);
    if (!line) return failure(line.error());
    std::string prefix;
    {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in || in.tellg() == 0) {
            prefix = std::string(UserDictionary::kHeader) + "\n";
        } else {
            in.seekg(-1, std::ios::end);
            if (in.get() != '\n') prefix = "\n";  // a last line without its line feed
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return failure(systemError("cannot write", path));
    out << prefix << *line;
    out.flush();
    if (!out) return failure(systemError("cannot write", path));
    return success();
}

}  // namespace vellix
