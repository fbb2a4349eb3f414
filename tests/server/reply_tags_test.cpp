#include "server/reply_tags.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace vellix {
namespace {

constexpr std::size_t kAll = std::string::npos;
const std::string kMarker(kServerError);

TEST(ReplyTagsTest, GetTagValueReadsTheFirstWellFormedTagInRange) {
    const std::string n60(60, 'n'), n61(61, 'n');
    const struct {
        std::string reply;
        std::size_t begin, end;
        std::string name;
        std::size_t capacity;
        std::string expected;
    } cases[] = {
        {"<total>12</total>", 0, kAll, "total", kAll, "12"},
        {"<total></total>", 0, kAll, "total", kAll, ""},
        {"<total>1<total>2</total>", 0, kAll, "total", kAll, kMarker},
        {"xx<total>5</total>", 0, 1, "total", kAll, ""},   // end before the tag
        {"<total>5</total>", 4, kAll, "total", kAll, ""},  // begin inside the tag
        {"<Total>5</Total>", 0, kAll, "total", kAll, ""},
        {"<total>5", 0, kAll, "total", kAll, ""},
        {"<total>55</total>", 0, 7, "total", kAll, ""},    // closing tag past end
        {"<total>55</total>", 0, 8, "total", kAll, "55"},  // its byte before is at end
        {"<a>1</a><a>2</a>", 0, kAll, "a", kAll, kMarker},
        {"<a>1</a><a>2</a>", 0, 8, "a", kAll, "1"},
        {"<a>1</a><a>2</a>", 8, kAll, "a", kAll, "2"},
        {"<a>1</a></a>", 0, kAll, "a", kAll, kMarker},
        {"<a>1</a><a>", 0, kAll, "a", kAll, "1"},  // 2nd opening ends at end, not before
        {"<a>1</a><a>.", 0, kAll, "a", kAll, kMarker},
        {"<a>x<a>.", 0, kAll, "a", kAll, kMarker},  // checked before the missing close
        {"<a><b>1</b>&amp;</a>", 0, kAll, "a", kAll, "<b>1</b>&amp;"},
        {"<name>abcdef</name>", 0, kAll, "name", 4, "abc"},
        {"<name>abcdef</name>", 0, kAll, "name", 0, ""},
        {"<a>1<a></a>", 0, kAll, "a", 6, "!Serv"},
        {std::string("<a>1\0</a>", 9), 0, kAll, "a", kAll, ""},
        {std::string("\0<a>1</a>", 9), 0, kAll, "a", kAll, ""},
        {std::string("\0<a>1</a>", 9), 1, kAll, "a", kAll, "1"},
        {std::string("<a>1</a>\0<a>", 12), 0, kAll, "a", kAll, "1"},
        {std::string("<a>\0\0</a>", 9), 3, kAll, "a", kAll, ""},
        {"<a>1</a>", 20, 30, "a", kAll, ""},
        {"<" + n61 + ">1</" + n61 + ">", 0, kAll, n61, kAll, kMarker},  // name too long
        {"<" + n60 + ">1</" + n60 + ">", 0, kAll, n60, kAll, "1"},
    };
    for (const auto& c : cases) {
        const std::size_t end = c.end == kAll ? c.reply.size() : c.end;
        EXPECT_EQ(GetTagValue(c.reply, c.begin, end, c.name, c.capacity), c.expected)
            << c.reply << " [" << c.begin << "," << c.end << "]";
    }
}

TEST(ReplyTagsTest, GetTagIntAcceptsOnlyDigits) {
    const struct {
        std::string reply;
        std::int32_t expected;
    } cases[] = {
        {"<n>007</n>", 7},
        {"<n></n>", 0},
        {"<m>5</m>", 0},
        {"<n>-5</n>", -1},
        {"<n>+5</n>", -1},
        {"<n>5 </n>", -1},
        {"<n>1<n>2</n>", -1},
        {"<n>2147483647</n>", std::numeric_limits<std::int32_t>::max()},
        {"<n>99999999999999999999</n>", std::numeric_limits<std::int32_t>::max()},
        {"<n>" + std::string(150, '1') + "x</n>", std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetTagInt(c.reply, 0, c.reply.size(), "n"), c.expected) << c.reply;
}

// What a counts reader sees at each step: the rest-of-reply look-ups, then the block.
std::vector<std::string> walk(const std::string& reply) {
    std::vector<std::string> steps;
    ReplyBlocks blocks(reply, "folder");
    for (;;) {
        std::string step = blocks.restValue("alert") + "|" + blocks.restValue("disconnect", 4);
        const bool more = blocks.next();
        if (more) step += "|" + blocks.value("name") + "=" + std::to_string(blocks.integer("new"));
        steps.push_back(step);
        if (!more) {
            EXPECT_FALSE(blocks.next()) << "a finished reader stays finished";
            return steps;
        }
    }
}

TEST(ReplyTagsTest, BlocksAreReadInOrderWithTheRestOfTheReplyLookedUpBeforeEach) {
    const std::string a = "<folder><name>a</name><new>1</new></folder>";
    const std::string b = "<folder><name>b</name><new>x</new></folder>";
    const struct {
        std::string reply;
        std::vector<std::string> steps;
    } cases[] = {
        {"", {"|"}},
        {"<alert>hi</alert>" + a + b, {"hi||a=1", "||b=-1", "|"}},
        {a + b + "<alert>hi</alert>", {"hi||a=1", "hi||b=-1", "hi|"}},
        {a + "<disconnect>bye</disconnect>" + b, {"|bye|a=1", "|bye|b=-1", "|"}},
        {a + "<folder><name>c</name><name>d</name></folder><folder><name>e</name></folder>",
         {"||a=1", "||" + kMarker + "=0", "||e=0", "|"}},
        {a + "<folder><name>open", {"||a=1", "|"}},
        {a + "</folder>" + b, {"||a=1", "||b=-1", "|"}},  // a stray closing tag is skipped
        {"<folder><folder><name>n</name></folder></folder>", {"||n=0", "|"}},
        {std::string("<folder><name>z</name></folder>\0", 32) + a, {"||z=0", "|"}},
        {"<alert>1</alert>" + a + "<alert>2</alert>", {kMarker + "||a=1", "2|"}},
    };
    for (const auto& c : cases) EXPECT_EQ(walk(c.reply), c.steps) << c.reply;
    EXPECT_FALSE(ReplyBlocks(a, std::string(61, 'f')).next()) << "overlong block name";
}

}  // namespace
}  // namespace vellix
