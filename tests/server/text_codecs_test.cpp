#include "server/text_codecs.h"

#include <gtest/gtest.h>

#include <string>

namespace vellix {
namespace {

TEST(TextCodecsTest, UrlEncodeEscapesAllButLettersDigitsAndTheSafeSet) {
    const struct {
        std::string text;
        std::string encoded;
    } cases[] = {
        {"", ""},
        {"a b&c=d/e\xE9z", "a%20b%26c%3Dd%2Fe%E9z"},
        {"$-_.!*'(),~", "$-_.!*'(),~"},
        {"AZaz09", "AZaz09"},
        {std::string("\x00\x7F\x80\xFF", 4), "%00%7F%80%FF"},
        {"+%?#", "%2B%25%3F%23"},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.text), c.encoded) << c.text;
}

TEST(TextCodecsTest, EncodeUtf8WritesWholeSequencesThatFit) {
    const std::u16string mixed = u"A\u00E9\u20AC\U0001F600";  // 1, 2, 3 and 4 bytes
    const std::string mixedUtf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const struct {
        std::u16string units;
        std::size_t capacity;
        std::string bytes;
        bool terminated;
    } cases[] = {
        {mixed, 64, mixedUtf8, true},
        {mixed, 10, mixedUtf8, false},  // exactly full: no room for the 0
        {mixed, 9, mixedUtf8.substr(0, 6), true},
        {mixed, 2, "A", true},  // the two-byte sequence would end past the buffer
        {mixed, 0, "", false},
        {std::u16string(u"ab\0cd", 5), 64, "ab", true},
        {std::u16string(u"x\xD83D", 2), 64, "x", true},                // high surrogate at the end
        {std::u16string{0xD800, u'A'}, 64, "\xF0\x90\x81\x81", true},  // joined anyway
        {std::u16string(u"\xDC00\xDC01", 2), 64, "\xF0\x90\x80\x81", true},
    };
    for (const auto& c : cases) {
        std::string out(c.capacity + 1, '#');
        const std::size_t written = EncodeUtf8(c.units, out.data(), c.capacity);
        EXPECT_EQ(out.substr(0, written), c.bytes) << c.capacity;
        EXPECT_EQ(out[written], c.terminated ? '\0' : '#') << c.capacity;
        EXPECT_EQ(EncodeUtf8(c.units, nullptr, 0), EncodeUtf8(c.units, nullptr, 999));
    }
    EXPECT_EQ(EncodeUtf8(mixed, nullptr, 0), mixedUtf8.size());
}

TEST(TextCodecsTest, ToUtf8InPlaceConvertsAndCutsToCapacity) {
    const struct {
        std::string text;
        std::size_t capacity;
        const char* codeset;
        std::string expected;
        bool converted;
    } cases[] = {
        {"Jos\xE9", 100, "ISO-8859-1", "Jos\xC3\xA9", true},
        {"\xE9\xE9", 4, "ISO-8859-1", "\xC3\xA9", true},  // the 2nd needs bytes 3-4 and a 0
        {"\xE9\xE9", 5, "ISO-8859-1", "\xC3\xA9\xC3\xA9", true},
        {"Jos\xC3\xA9", 100, "UTF-8", "Jos\xC3\xA9", true},
        {"a\xC3\xA9", 3, "utf8", "a", true},
        {"a\xF0\x9F\x98\x80z", 6, "UTF-8", "a\xF0\x9F\x98\x80", true},
        {std::string("ab\0cd", 5), 100, "ISO-8859-1", "ab", true},
        {"abc", 0, "UTF-8", "", true},
        {"abc\xE9", 3, "NO-SUCH-CHARSET", "ab", false},
    };
    for (const auto& c : cases) {
        std::string buffer = c.text;
        EXPECT_EQ(ToUtf8InPlace(buffer, c.capacity, c.codeset), c.converted) << c.text;
        EXPECT_EQ(buffer, c.expected) << c.text;
    }
}

}  // namespace
}  // namespace vellix
