// Small text helpers shared by the sim: form decoding, escaping, case-insensitive compare.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellix::sim {

using Fields = std::vector<std::pair<std::string, std::string>>;

// Decodes %XX escapes. '+' stays '+': the client escapes blanks as %20 and puts some values
// (file names, recipient lists) in as they stand, where '+' is a real character.
// A '%' not followed by two hex digits is kept literally.
std::string url_decode(std::string_view text);

// Letters, digits and "$-_.!*'(),~" stand for themselves; every other byte becomes %XX.
std::string url_encode(std::string_view text);

// Splits "a=1&b=2" into decoded pairs, in order. A piece without '=' has an empty value;
// empty pieces are skipped.
Fields parse_form(std::string_view text);

// First value whose key equals `key` without regard to case, or nullptr.
const std::string* find_field(const Fields& fields, std::string_view key);

bool iequals(std::string_view a, std::string_view b);
bool istarts_with(std::string_view text, std::string_view prefix);
std::string to_lower(std::string_view text);
std::string trim(std::string_view text);

// Splits at any of `delims`, skipping empty tokens.
std::vector<std::string> split_tokens(std::string_view text, std::string_view delims);

std::string html_escape(std::string_view text);
// JSON string literal (with quotes). Bytes >= 0x80 are written as \u00XX so that binary
// bodies stay valid JSON; readers map code points 0..255 back to bytes.
std::string json_quote(std::string_view text);

std::string base64_encode(std::string_view bytes);

// Decimal non-negative integer that fits in `long long`; false for anything else.
bool parse_uint(std::string_view text, unsigned long long& out);

}  // namespace vellix::sim
