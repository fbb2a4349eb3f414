#include "core/profile_document.h"

#include <algorithm>

namespace vellix {

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

struct ParsedEntry {
    std::string_view key;
    std::string_view value;
};

std::optional<ParsedEntry> parseEntry(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() == ';') return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimBlanks(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return ParsedEntry{key, trimBlanks(line.substr(equals + 1))};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string_view> sectionHeaderName(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trimBlanks(close == std::string_view::npos ? line : line.substr(0, close));
}

bool breaksLines(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

ProfileDocument ProfileDocument::parse(std::string_view bytes) {
    ProfileDocument doc;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        // The '\r' of a CRLF line stays in the stored line; every reader trims it.
        const std::string_view line = bytes.substr(start, end - start);
        if (start == 0 && end < bytes.size() && !line.empty() && line.back() == '\r') {
            doc.crlf_ = true;
        }
        start = end + 1;
        if (const auto name = sectionHeaderName(line)) {
            doc.sections_.push_back(Section{std::string(*name), std::string(line), {}, {}, false});
        } else if (doc.sections_.empty()) {
            doc.preamble_.emplace_back(line);
        } else {
            doc.sections_.back().lines.emplace_back(line);
        }
    }
    return doc;
}

bool ProfileDocument::isText(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char ch) {
        const auto byte = static_cast<unsigned char>(ch);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\v' &&
               byte != '\f';
    });
}

std::string ProfileDocument::serialize() const {
    std::size_t size = 0;
    for (const auto& line : preamble_) size += line.size() + 1;
    for (const auto& section : sections_) {
        size += section.header.size() + 1;
        for (const auto& line : section.lines) size += line.size() + 1;
    }
    std::string out;
    out.reserve(size);
    const auto put = [&out](const std::string& line) {
        out += line;
        out += '\n';
    };
    std::for_each(preamble_.begin(), preamble_.end(), put);
    for (const auto& section : sections_) {
        put(section.header);
        std::for_each(section.lines.begin(), section.lines.end(), put);
    }
    return out;
}

void ProfileDocument::indexSections() const {
    if (sectionsIndexed_) return;
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        sectionIndex_.try_emplace(lowerAscii(sections_[i].name), i);
    }
    sectionsIndexed_ = true;
}

void ProfileDocument::indexKeys(const Section& section) {
    if (section.indexed) return;
    section.keys.clear();
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        if (const auto entry = parseEntry(section.lines[i])) {
            section.keys.try_emplace(lowerAscii(entry->key), i);
        }
    }
    section.indexed = true;
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
    indexSections();
    const auto it = sectionIndex_.find(lowerAscii(trimBlanks(name)));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

ProfileDocument::Section& ProfileDocument::sectionForWrite(std::string_view name) {
    if (Section* existing = findSection(name)) return *existing;
    const std::string trimmed(trimBlanks(name));
    sections_.push_back(Section{trimmed, "[" + trimmed + "]" + lineEnd(), {}, {}, false});
    // Kept up to date rather than rebuilt: a history gains thousands of sections in a run.
    if (sectionsIndexed_) sectionIndex_.try_emplace(lowerAscii(trimmed), sections_.size() - 1);
    return sections_.back();
}

bool ProfileDocument::hasContent(const Section& section) {
    return std::any_of(section.lines.begin(), section.lines.end(), [](const std::string& line) {
        const auto text = trimBlanks(line);
        return !text.empty() && text.front() != ';';
    });
}

std::optional<std::string> ProfileDocument::find(std::string_view section,
                                                 std::string_view key) const {
    const Section* found = findSection(section);
    if (found == nullptr) return std::nullopt;
    indexKeys(*found);
    const auto it = found->keys.find(lowerAscii(trimBlanks(key)));
    if (it == found->keys.end()) return std::nullopt;
    return std::string(unquote(parseEntry(found->lines[it->second])->value));
}

std::vector<std::string> ProfileDocument::sectionNames() const {
    indexSections();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sectionIndex_.at(lowerAscii(sections_[i].name)) == i)
            names.push_back(sections_[i].name);
    }
    return names;
}

std::vector<ProfileEntry> ProfileDocument::section(std::string_view name) const {
    std::vector<ProfileEntry> entries;
    const Section* found = findSection(name);
    if (found == nullptr) return entries;
    for (const auto& line : found->lines) {
        if (const auto entry = parseEntry(line)) {
            entries.push_back({std::string(entry->key), std::string(unquote(entry->value))});
        }
    }
    return entries;
}

namespace {

Status checkSectionName(std::string_view name) {
    name = trimBlanks(name);
    if (name.empty() || breaksLines(name) || name.find(']') != std::string_view::npos) {
        return failure("invalid section name");
    }
    return success();
}

Status checkEntry(std::string_view key, std::string_view value) {
    key = trimBlanks(key);
    if (key.empty() || breaksLines(key) || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';') {
        return failure("invalid key name");
    }
    if (breaksLines(value)) return failure("a value cannot contain a line break");
    return success();
}

std::string entryLine(std::string_view key, std::string_view value) {
    std::string line(trimBlanks(key));
    line += '=';
    line += value;
    return line;
}

}  // namespace

Status ProfileDocument::set(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (auto status = checkSectionName(section); !status) return status;
    if (auto status = checkEntry(key, value); !status) return status;
    Section& target = sectionForWrite(section);
    indexKeys(target);
    const auto it = target.keys.find(lowerAscii(trimBlanks(key)));
    if (it != target.keys.end()) {
        // Keep the key's existing spelling.
        std::string& line = target.lines[it->second];
        const bool crlf = !line.empty() && line.back() == '\r';
        line = entryLine(parseEntry(line)->key, value) + (crlf ? "\r" : "");
        return success();
    }
    // New keys go after the last non-blank line, so blank separators stay at the end.
    std::size_t at = target.lines.size();
    while (at > 0 && trimBlanks(target.lines[at - 1]).empty()) --at;
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at),
                        entryLine(key, value) + lineEnd());
    target.indexed = false;
    return success();
}

void ProfileDocument::removeKey(std::string_view section, std::string_view key) {
    Section* target = findSection(section);
    if (target == nullptr) return;
    const std::string wanted = lowerAscii(trimBlanks(key));
    std::erase_if(target->lines, [&wanted](const std::string& line) {
        const auto entry = parseEntry(line);
        return entry && lowerAscii(entry->key) == wanted;
    });
    target->indexed = false;
    if (!hasContent(*target)) {
        sections_.erase(sections_.begin() + (target - sections_.data()));
        sectionsIndexed_ = false;
    }
}

Status ProfileDocument::replaceSection(std::string_view section,
                                       const std::vector<ProfileEntry>& entries) {
    if (auto status = checkSectionName(section); !status) return status;
    for (const auto& entry : entries) {
        if (auto status = checkEntry(entry.key, entry.value); !status) return status;
    }
    Section& target = sectionForWrite(section);
    target.lines.clear();
    for (const auto& entry : entries) {
        target.lines.push_back(entryLine(entry.key, entry.value) + lineEnd());
    }
    target.indexed = false;
    return success();
}

void ProfileDocument::removeSection(std::string_view section) {
    const std::string wanted = lowerAscii(trimBlanks(section));
    std::erase_if(sections_,
                  [&wanted](const Section& each) { return lowerAscii(each.name) == wanted; });
    sectionsIndexed_ = false;
}

}  // namespace vellix
