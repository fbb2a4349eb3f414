#include "text_util.h"

#include <gtest/gtest.h>

#include "faults.h"

namespace vellix::sim {
namespace {

TEST(SimTextUtil, UrlDecodeKeepsWhatIsNotAnEscape) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a%40b.c", "a@b.c"}, {"a+b", "a+b"},    // '+' is a real character in raw file names
        {"%2B%20", "+ "},     {"100%", "100%"},  // cut escape stays literal
        {"%4", "%4"},         {"%zz", "%zz"},   {"%c4%C4", "\xc4\xc4"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(url_decode(c.in), c.out) << c.in;
}

TEST(SimTextUtil, UrlEncodeMatchesTheClientRule) {
    EXPECT_EQ(url_encode("a b&c=d/e\xc4~*"), "a%20b%26c%3Dd%2Fe%C4~*");
    EXPECT_EQ(url_decode(url_encode("any \x01\xff text")), "any \x01\xff text");
}

TEST(SimTextUtil, ParseFormKeepsOrderAndDecodes) {
    const Fields f = parse_form("User=a%40x&&Password=&flag&User=second");
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], (std::pair<std::string, std::string>{"User", "a@x"}));
    EXPECT_EQ(f[1], (std::pair<std::string, std::string>{"Password", ""}));
    EXPECT_EQ(f[2], (std::pair<std::string, std::string>{"flag", ""}));
    ASSERT_NE(find_field(f, "user"), nullptr);
    EXPECT_EQ(*find_field(f, "user"), "a@x");  // first one wins
    EXPECT_EQ(find_field(f, "missing"), nullptr);
}

TEST(SimTextUtil, JsonQuoteEscapesControlAndHighBytes) {
    EXPECT_EQ(json_quote("a\"b\\c\n\x01\xe9"), "\"a\\\"b\\\\c\\u000a\\u0001\\u00e9\"");
}

TEST(SimTextUtil, Base64) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"user:pass", "dXNlcjpwYXNz"}};
    for (const auto& c : cases) EXPECT_EQ(base64_encode(c.in), c.out) << c.in;
}

TEST(SimTextUtil, SplitTokensSkipsEmpties) {
    EXPECT_EQ(split_tokens(" a@x, b@y,,c ", ", "), (std::vector<std::string>{"a@x", "b@y", "c"}));
    EXPECT_TRUE(split_tokens(" , ", ", ").empty());
}

TEST(SimFaultRules, MalformDuplicatesTheFirstValueTag) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"<session>S</session>", "<session><session>S</session>"},
        {"<folder><name>I</name></folder>", "<folder><name><name>I</name></folder>"},
        {"<message><to></to><from>a</from></message>",
         "<message><to><to></to><from>a</from></message>"},
        {"plain", "<error><error>plain"},
        {"</x>", "<error><error></x>"},
        {"", "<error><error>"},
    };
    for (const auto& c : cases) EXPECT_EQ(malform_first_value(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vellix::sim
