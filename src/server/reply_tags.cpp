#include "server/reply_tags.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vellix {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

enum class Step { Open, SecondOpen, Close, SecondClose };

bool validName(std::string_view name) {
    return name.size() <= kMaxTagName && name.find('\0') == kNone;
}

std::string openTag(std::string_view name) {
    return "<" + std::string(name) + ">";
}
std::string closeTag(std::string_view name) {
    return "</" + std::string(name) + ">";
}

std::string cut(std::string_view value, std::size_t capacity) {
    return capacity == 0 ? std::string() : std::string(value.substr(0, capacity - 1));
}

// The reading steps over [begin, end], shared by the bounded reader and the forward
// look-up. finder.find(step, from, windowEnd) gives the first occurrence of the step's
// tag at or after `from`, or kNone when there is none or it does not end by windowEnd;
// finder.limit(begin, horizon) gives the first NUL at or after begin (or horizon).
template <class Finder>
std::string readValue(std::string_view reply, Finder& finder, std::size_t begin, std::size_t end,
                      std::size_t capacity) {
    if (!finder.validName()) return cut(kServerError, capacity);
    end = std::min(end, reply.size());
    if (begin >= reply.size()) return {};
    const std::size_t openLength = finder.openLength();
    const std::size_t closeLength = openLength + 1;
    // No window below reaches past end + 1 + closeLength.
    const std::size_t limit = finder.limit(begin, std::min(reply.size(), end + 1 + closeLength));
    const auto window = [limit](std::size_t to) { return std::min(limit, to); };

    const std::size_t open = finder.find(Step::Open, begin, window(end));
    if (open == kNone) return {};
    const std::size_t value = open + openLength;
    // A second opening tag that ends before `end`.
    if (end > 0 && finder.find(Step::SecondOpen, value, window(end - 1)) != kNone)
        return cut(kServerError, capacity);
    // The closing tag, whose byte before lies at or before `end`.
    const std::size_t close = finder.find(Step::Close, value, window(end + 1 + closeLength));
    if (close == kNone) return {};
    // A second closing tag, searched from the third byte of the first, that starts before
    // `end`.
    if (end > 0 &&
        finder.find(Step::SecondClose, close + 2, window(end - 1 + closeLength)) != kNone)
        return cut(kServerError, capacity);
    return cut(reply.substr(value, close - value), capacity);
}

// Searches only the range a step can accept: the cost is the size of [begin, end].
struct BoundedFinder {
    std::string_view reply;
    std::string open;
    std::string close;
    bool valid;

    bool validName() const { return valid; }
    std::size_t openLength() const { return open.size(); }
    std::size_t limit(std::size_t begin, std::size_t horizon) const {
        if (begin >= horizon) return horizon;
        const void* nul = std::memchr(reply.data() + begin, 0, horizon - begin);
        return nul == nullptr
                   ? horizon
                   : static_cast<std::size_t>(static_cast<const char*>(nul) - reply.data());
    }
    std::size_t find(Step step, std::size_t from, std::size_t windowEnd) const {
        const std::string& tag = (step == Step::Open || step == Step::SecondOpen) ? open : close;
        windowEnd = std::min(windowEnd, reply.size());
        if (from > windowEnd || windowEnd - from < tag.size()) return kNone;
        return reply.substr(0, windowEnd).find(tag, from);
    }
};

bool fits(std::size_t found, std::size_t length, std::size_t windowEnd) {
    return found != kNone && found + length <= windowEnd;
}

}  // namespace

struct RestFinder {
    RestOfReplyLookup& lookup;

    bool validName() const { return lookup.validName_; }
    std::size_t openLength() const { return lookup.open_.length(); }
    std::size_t limit(std::size_t begin, std::size_t horizon) const {
        return std::min(lookup.nul_.next(begin), horizon);
    }
    std::size_t find(Step step, std::size_t from, std::size_t windowEnd) const {
        ForwardSearch& search = step == Step::Open         ? lookup.open_
                                : step == Step::SecondOpen ? lookup.secondOpen_
                                : step == Step::Close      ? lookup.close_
                                                           : lookup.secondClose_;
        const std::size_t found = search.next(from);
        return fits(found, search.length(), windowEnd) ? found : kNone;
    }
};

std::string GetTagValue(std::string_view reply, std::size_t begin, std::size_t end,
                        std::string_view name, std::size_t capacity) {
    BoundedFinder finder{reply, openTag(name), closeTag(name), validName(name)};
    return readValue(reply, finder, begin, end, capacity);
}

std::int32_t GetTagInt(std::string_view reply, std::size_t begin, std::size_t end,
                       std::string_view name) {
    // The error marker is not digits either: -1 like any other malformed value.
    const std::string value = GetTagValue(reply, begin, end, name, kTagIntCapacity);
    std::int64_t number = 0;
    for (const char ch : value) {
        if (ch < '0' || ch > '9') return -1;
        number = std::min<std::int64_t>(number * 10 + (ch - '0'),
                                        std::numeric_limits<std::int32_t>::max());
    }
    return static_cast<std::int32_t>(number);
}

ForwardSearch::ForwardSearch(std::string_view text, std::string pattern)
    : text_(text), pattern_(std::move(pattern)) {
}

std::size_t ForwardSearch::next(std::size_t from) {
    // The answer for from_ stands for any later start up to the occurrence it found.
    const bool stands = known_ && from >= from_ && (found_ == kNone || from <= found_);
    if (!stands) {
        found_ = text_.find(pattern_, from);
        from_ = from;
        known_ = true;
    }
    return found_;
}

RestOfReplyLookup::RestOfReplyLookup(std::string_view reply, std::string_view name)
    : reply_(reply),
      validName_(validName(name)),
      open_(reply, openTag(name)),
      secondOpen_(reply, openTag(name)),
      close_(reply, closeTag(name)),
      secondClose_(reply, closeTag(name)),
      nul_(reply, std::string(1, '\0')) {
}

std::string RestOfReplyLookup::value(std::size_t from, std::size_t capacity) {
    RestFinder finder{*this};
    return readValue(reply_, finder, from, reply_.size(), capacity);
}

ReplyBlocks::ReplyBlocks(std::string_view reply, std::string_view blockName)
    : reply_(reply),
      validName_(validName(blockName)),
      open_(reply, openTag(blockName)),
      close_(reply, closeTag(blockName)),
      nul_(reply, std::string(1, '\0')) {
}

bool ReplyBlocks::next() {
    if (ended_ || !validName_) return false;
    const std::size_t limit = std::min(nul_.next(position_), reply_.size());
    const std::size_t open = open_.next(position_);
    if (fits(open, open_.length(), limit)) {
        const std::size_t close = close_.next(open + open_.length());
        if (fits(close, close_.length(), limit)) {
            begin_ = open + open_.length();
            end_ = close;
            position_ = close + close_.length();
            return true;
        }
    }
    ended_ = true;
    return false;
}

std::string ReplyBlocks::value(std::string_view name, std::size_t capacity) const {
    return GetTagValue(reply_, begin_, end_, name, capacity);
}

std::int32_t ReplyBlocks::integer(std::string_view name) const {
    return GetTagInt(reply_, begin_, end_, name);
}

std::string ReplyBlocks::restValue(std::string_view name, std::size_t capacity) {
    for (auto& [known, lookup] : rest_)
        if (known == name) return lookup.value(position_, capacity);
    rest_.emplace_back(std::string(name), RestOfReplyLookup(reply_, name));
    return rest_.back().second.value(position_, capacity);
}

}  // namespace vellix
