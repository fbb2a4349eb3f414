// Faults injected per request word by the control interface.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "http_response.h"

namespace vellix::sim {

struct Fault {
    enum class Kind {
        Delay,
        Drop,
        Empty,
        Truncate,
        Status,
        Huge,
        Malformed,
        Trickle,
        Unclosed,
        Refuse
    };
    Kind kind = Kind::Delay;
    long long value = 0;  // ms for Delay, status code for Status, MiB for Huge, bytes/s for Trickle
    int remaining = 1;    // requests it applies to; -1 = until cleared
};

std::optional<Fault::Kind> parse_fault_kind(std::string_view name);
std::string_view fault_kind_name(Fault::Kind kind);

// Whether the request is answered at all before the fault hits: drop, status, empty and
// refuse replace the reply, so the request has no effect (no long-poll event is used up).
bool fault_skips_handling(Fault::Kind kind);

// Reply changes made before sending: Empty, Status, Huge, Malformed, Unclosed, Refuse.
// Delay, Drop and Truncate belong to the connection.
void damage_reply(HttpResponse& reply, const Fault& fault);

// Inserts a second copy of the first opening tag that holds a value (a flat reply's tag, a
// block's or event's first field) right after it, so the client reads that value wrong.
// A body without such a tag gets "<error><error>" in front.
std::string malform_first_value(std::string_view body);

class FaultTable {
  public:
    void add(const std::string& word, Fault fault);
    // The fault for this request word ("*" matches every status request), used up by one.
    std::optional<Fault> take(const std::string& word);
    void clear();
    std::string json() const;

  private:
    mutable std::mutex mu_;
    std::map<std::string, std::deque<Fault>> faults_;  // key: lower-case word
};

}  // namespace vellix::sim
