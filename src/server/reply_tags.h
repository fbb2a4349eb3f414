#pragma once
// The tag reader of server replies: flat texts where each value stands between "<name>"
// and "</name>", sometimes grouped in repeated blocks such as "<folder>...</folder>".
// Values are returned byte for byte; no attributes, entities or nesting of one name.
//
// Positions are byte offsets into the reply. A search from a position stops at the first
// NUL byte after it, as the reply is a zero-terminated text. `end` is an offset at most
// reply.size() (larger ones are clamped); a block's `end` is the offset of its closing tag.
// `capacity` is the size of the value's buffer, terminator included: longer values are cut
// to capacity - 1 bytes, the error marker too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellix {

// The value of a tag the reply has twice within the range, or a closing tag twice.
inline constexpr std::string_view kServerError = "!Server_Error!";
// Longer names (and names holding a NUL) read as kServerError.
inline constexpr std::size_t kMaxTagName = 60;
inline constexpr std::size_t kUnboundedValue = static_cast<std::size_t>(-1);
// GetTagInt reads its digits through a buffer of this size.
inline constexpr std::size_t kTagIntCapacity = 100;

// The bytes between the first "<name>" at or after `begin` and the "</name>" after it; empty
// when either is missing or past `end`; kServerError when a second opening tag ends before
// `end` or a second closing tag starts before `end`. Costs the size of the range.
std::string GetTagValue(std::string_view reply, std::size_t begin, std::size_t end,
                        std::string_view name, std::size_t capacity = kUnboundedValue);
inline std::string GetTagValue(std::string_view reply, std::string_view name,
                               std::size_t capacity = kUnboundedValue) {
    return GetTagValue(reply, 0, reply.size(), name, capacity);
}

// The value as a decimal: 0 when empty or absent, -1 when malformed or when any byte is
// not a digit (a sign included); values past the 32-bit range read as its maximum.
std::int32_t GetTagInt(std::string_view reply, std::size_t begin, std::size_t end,
                       std::string_view name);

// Next occurrence of a fixed pattern at or after a position that mostly moves forward:
// while it does, the text is searched once in all.
class ForwardSearch {
  public:
    ForwardSearch(std::string_view text, std::string pattern);
    std::size_t next(std::size_t from);  // npos when none
    std::size_t length() const { return pattern_.size(); }

  private:
    std::string_view text_;
    std::string pattern_;
    std::size_t from_ = 0;
    std::size_t found_ = std::string_view::npos;
    bool known_ = false;
};

// GetTagValue(reply, from, reply.size(), name) for a `from` that mostly moves forward.
class RestOfReplyLookup {
  public:
    RestOfReplyLookup(std::string_view reply, std::string_view name);
    std::string value(std::size_t from, std::size_t capacity = kUnboundedValue);

  private:
    friend struct RestFinder;
    std::string_view reply_;
    bool validName_;
    ForwardSearch open_;
    ForwardSearch secondOpen_;
    ForwardSearch close_;
    ForwardSearch secondClose_;
    ForwardSearch nul_;
};

// A list reply read block by block, with the look-ups "over the rest of the reply" that a
// list reader makes before each block. All of it costs linear time in the reply, however
// many blocks it has. The reply must outlive the reader.
class ReplyBlocks {
  public:
    ReplyBlocks(std::string_view reply, std::string_view blockName);

    // Moves to the first block after position(); false, for good, once the opening or the
    // closing block tag is missing.
    bool next();
    std::size_t begin() const { return begin_; }  // just after the opening block tag
    std::size_t end() const { return end_; }      // the closing block tag
    // Where the rest of the reply starts: 0, then just after the last block read.
    std::size_t position() const { return position_; }

    // GetTagValue and GetTagInt within the current block.
    std::string value(std::string_view name, std::size_t capacity = kUnboundedValue) const;
    std::int32_t integer(std::string_view name) const;
    // GetTagValue(reply, position(), reply.size(), name), searching forward only.
    std::string restValue(std::string_view name, std::size_t capacity = kUnboundedValue);

  private:
    std::string_view reply_;
    bool validName_;
    ForwardSearch open_;
    ForwardSearch close_;
    ForwardSearch nul_;
    std::size_t position_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    std::vector<std::pair<std::string, RestOfReplyLookup>> rest_;
};

}  // namespace vellix
