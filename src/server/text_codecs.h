#pragma once
// Value encodings of the status interface: URL-encoding of request values and the
// conversion of typed text (in the locale's charset) to UTF-8 before it is encoded.

#include <cstddef>
#include <string>
#include <string_view>

namespace vellix {

// Letters, digits and "$-_.!*'(),~" stay; every other byte becomes "%XX" (upper-case
// hex). A space is "%20", never "+".
std::string UrlEncode(std::string_view text);

// Writes the UTF-8 form of the UTF-16 units up to the first 0 unit (or the end of the
// view). A unit in D800-DFFF is joined with the next one. With `out`, a sequence is written
// only if it ends within `capacity` bytes, the first one that does not fit ends the walk, and
// a 0 follows when there is room; with `out` null it only counts. Returns the bytes of text.
std::size_t EncodeUtf8(std::u16string_view units, char* out, std::size_t capacity);

// Converts the text of `buffer` (up to its first NUL) from `codeset` to UTF-8. The result is
// cut at a whole character so that it and a terminator fit in `capacity` bytes. When the
// conversion fails the text is kept (cut to the same room) and false is returned.
bool ToUtf8InPlace(std::string& buffer, std::size_t capacity, const char* codeset);
// The same from the locale's charset; on UTF-8 systems only the cut applies.
bool ToUtf8InPlace(std::string& buffer, std::size_t capacity);

}  // namespace vellix
