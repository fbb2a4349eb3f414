#include "core/password_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace vellix {
namespace {

TEST(PasswordCodecTest, KeyTableIsAPermutation) {
    auto table = codecKeyTable();
    std::sort(table.begin(), table.end());
    for (int i = 0; i < 256; ++i) ASSERT_EQ(table[static_cast<std::size_t>(i)], i);
}

// Worked by hand from the algorithm: the first key index is the length's low byte, each
// cipher byte is the next index, Base64 is unpadded with the last group zero-filled.
TEST(PasswordCodecTest, EncodingFollowsTheChainAndBase64Layout) {
    const auto& key = codecKeyTable();
    const std::uint8_t c0 = key[1] ^ 'a';
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string one = encodePassword("a");
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0], alphabet[c0 >> 2]);
    EXPECT_EQ(one[1], alphabet[(c0 & 0x03) << 4]);

    const std::uint8_t d0 = key[3] ^ 'x';
    const std::uint8_t d1 = key[d0] ^ 'y';
    const std::uint8_t d2 = key[d1] ^ 'z';
    const std::string three = encodePassword("xyz");
    const std::string expected = {alphabet[d0 >> 2], alphabet[((d0 & 0x03) << 4) | (d1 >> 4)],
                                  alphabet[((d1 & 0x0F) << 2) | (d2 >> 6)], alphabet[d2 & 0x3F]};
    EXPECT_EQ(three, expected);
}

TEST(PasswordCodecTest, RoundTripsEveryLengthAndByteValue) {
    std::mt19937 random(1234);
    for (std::size_t length = 0; length <= 300; ++length) {
        std::string plain(length, '\0');
        for (auto& ch : plain) ch = static_cast<char>(random() & 0xFF);
        ASSERT_EQ(decodePassword(encodePassword(plain)), plain) << length;
    }
    std::string allBytes(256, '\0');
    std::iota(allBytes.begin(), allBytes.end(), 0);
    EXPECT_EQ(decodeWithKeyTable(encodeWithKeyTable(allBytes)), allBytes);
}

TEST(PasswordCodecTest, DecodingSkipsForeignCharactersAndDropsLeftoverBits) {
    const std::string encoded = encodePassword("hunter2");
    struct Case {
        const char* name;
        std::string text;
    };
    const Case same[] = {
        {"padding", encoded + "=="},
        {"line breaks", encoded.substr(0, 4) + "\r\n" + encoded.substr(4)},
        {"spaces and junk", " " + encoded.substr(0, 3) + "*!" + encoded.substr(3) + "\x80"},
    };
    for (const auto& c : same) EXPECT_EQ(decodePassword(c.text), "hunter2") << c.name;

    struct Size {
        const char* text;
        std::size_t bytes;
    };
    for (const auto& c : {Size{"", 0}, Size{"A", 0}, Size{"AB", 1}, Size{"ABC", 2}, Size{"ABCD", 3},
                          Size{"ABCDE", 3}, Size{"!!!!", 0}}) {
        EXPECT_EQ(decodePassword(c.text).size(), c.bytes) << c.text;
    }
}

}  // namespace
}  // namespace vellix
