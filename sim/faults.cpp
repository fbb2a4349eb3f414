#include "faults.h"

#include "text_util.h"

namespace vellix::sim {
namespace {

constexpr struct {
    Fault::Kind kind;
    std::string_view name;
} kKinds[] = {{Fault::Kind::Delay, "delay"},         {Fault::Kind::Drop, "drop"},
              {Fault::Kind::Empty, "empty"},         {Fault::Kind::Truncate, "truncate"},
              {Fault::Kind::Status, "status"},       {Fault::Kind::Huge, "huge"},
              {Fault::Kind::Malformed, "malformed"}, {Fault::Kind::Trickle, "trickle"},
              {Fault::Kind::Unclosed, "unclosed"},   {Fault::Kind::Refuse, "refuse"}};

}  // namespace

std::optional<Fault::Kind> parse_fault_kind(std::string_view name) {
    for (const auto& k : kKinds) {
        if (iequals(k.name, name)) return k.kind;
    }
    return std::nullopt;
}

std::string_view fault_kind_name(Fault::Kind kind) {
    for (const auto& k : kKinds) {
        if (k.kind == kind) return k.name;
    }
    return "?";
}

bool fault_skips_handling(Fault::Kind kind) {
    return kind == Fault::Kind::Drop || kind == Fault::Kind::Status || kind == Fault::Kind::Empty ||
           kind == Fault::Kind::Refuse;
}

std::string malform_first_value(std::string_view body) {
    // The first opening tag that holds a value rather than other tags: doubling a block's
    // outer tag would be skipped by the client's tag reader and damage nothing.
    size_t open = 0;
    size_t close = std::string_view::npos;
    while ((open = body.find('<', open)) != std::string_view::npos) {
        close = body.find('>', open);
        if (close == std::string_view::npos || body.substr(open + 1, 1) == "/") {
            close = std::string_view::npos;
            break;
        }
        const std::string_view after = body.substr(close + 1);
        if (!after.starts_with('<') || after.starts_with("</")) break;
        open = close + 1;
    }
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return "<error><error>" + std::string(body);
    }
    const std::string_view tag = body.substr(open, close - open + 1);
    std::string out(body.substr(0, close + 1));
    out += tag;
    out += body.substr(close + 1);
    return out;
}

void damage_reply(HttpResponse& reply, const Fault& fault) {
    switch (fault.kind) {
        case Fault::Kind::Empty:
            reply = HttpResponse{};
            break;
        case Fault::Kind::Status:
            reply = text_reply(
                static_cast<int>(fault.value),
                "<html><body>Injected status " + std::to_string(fault.value) + "</body></html>",
                "text/html");
            if (fault.value == 401) {
                reply.headers.emplace_back("WWW-Authenticate", "Basic realm=\"Skyloom\"");
            }
            break;
        case Fault::Kind::Huge: {
            std::string body(reply.payload());
            const long long mib = fault.value > 0 ? std::min(fault.value, 1024LL) : 8;
            body.append(static_cast<size_t>(mib) << 20, 'x');
            reply.shared_body.reset();
            reply.body = std::move(body);
            break;
        }
        case Fault::Kind::Malformed: {
            std::string body = malform_first_value(reply.payload());
            reply.shared_body.reset();
            reply.body = std::move(body);
            break;
        }
        case Fault::Kind::Unclosed: {
            // A whole reply as far as HTTP goes, cut before its last closing tag.
            std::string body(reply.payload());
            body.resize(std::min(body.size(), body.rfind("</")));
            reply.shared_body.reset();
            reply.body = std::move(body);
            break;
        }
        case Fault::Kind::Refuse:
            reply = text_reply(200, "<result>failed</result>");
            break;
        default:
            break;
    }
}

void FaultTable::add(const std::string& word, Fault fault) {
    std::lock_guard lock(mu_);
    faults_[to_lower(word)].push_back(fault);
}

std::optional<Fault> FaultTable::take(const std::string& word) {
    std::lock_guard lock(mu_);
    for (const std::string& key : {to_lower(word), std::string("*")}) {
        const auto it = faults_.find(key);
        if (it == faults_.end() || it->second.empty()) continue;
        Fault f = it->second.front();
        if (it->second.front().remaining > 0 && --it->second.front().remaining == 0) {
            it->second.pop_front();
        }
        return f;
    }
    return std::nullopt;
}

void FaultTable::clear() {
    std::lock_guard lock(mu_);
    faults_.clear();
}

std::string FaultTable::json() const {
    std::lock_guard lock(mu_);
    std::string out = "[";
    for (const auto& [word, list] : faults_) {
        for (const auto& f : list) {
            if (out.size() > 1) out += ",";
            out += "{\"word\":" + json_quote(word) +
                   ",\"kind\":" + json_quote(fault_kind_name(f.kind)) +
                   ",\"value\":" + std::to_string(f.value) +
                   ",\"remaining\":" + std::to_string(f.remaining) + "}";
        }
    }
    return out + "]";
}

}  // namespace vellix::sim
