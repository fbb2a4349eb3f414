// Presence, lists, settings, the long poll and sending messages.
#include "replies.h"
#include "status_words.h"

namespace vellix::sim {

using replies::tag;

HttpResponse handle_set_status(StatusCall& call) {
    const std::string* word = find_field(call.query, "SetStatus");
    if (!word || word->empty()) return bad_request("missing status word");
    call.state.set_status(call.address, *word);
    return text_reply(200, std::string(replies::kSuccess));
}

HttpResponse handle_buddy_list(StatusCall& call) {
    std::string body;
    for (const auto& b : call.state.buddy_list(call.address)) {
        body += replies::buddy_block(b[0], b[1], b[2]);
    }
    return text_reply(200, std::move(body));
}

HttpResponse handle_user_list(StatusCall& call) {
    std::string body;
    for (const auto& u : call.state.user_list()) body += replies::user_block(u.name, u.email);
    return text_reply(200, std::move(body));
}

HttpResponse handle_save_buddy_list(StatusCall& call) {
    const Fields form = parse_form(call.request.body);
    std::vector<BuddyEntry> buddies;
    for (int n = 1;; ++n) {
        const std::string* email = find_field(form, "BuddyEmail" + std::to_string(n));
        if (!email) break;
        const std::string* name = find_field(form, "BuddyName" + std::to_string(n));
        if (email->empty()) continue;
        buddies.push_back({*email, name && !name->empty() ? *name : *email});
    }
    call.state.save_buddies(call.address, std::move(buddies));
    return text_reply(200, std::string(replies::kSuccess));
}

HttpResponse handle_get_settings(StatusCall& call) {
    return text_reply(200, tag("IMSettings", call.state.im_settings(call.address)));
}

HttpResponse handle_save_settings(StatusCall& call) {
    const Fields form = parse_form(call.request.body);
    const std::string* text = find_field(form, "IMSettings");
    if (!text) return bad_request("missing field IMSettings");
    call.state.save_im_settings(call.address, *text);
    return text_reply(200, std::string(replies::kSuccess));
}

HttpResponse handle_wait(StatusCall& call) {
    WaitResult r = call.state.wait_event(call.session, call.config.long_poll_timeout,
                                         call.context.client_gone);
    HttpResponse reply;
    if (r.abandoned) {
        reply.close = true;
        reply.status = 0;  // nothing to write: the peer is gone
        return reply;
    }
    reply.body = std::move(r.reply);
    if (r.is_event) {
        // A reply that cannot be written gives its event back to the queue.
        reply.on_write_failed = [&state = call.state, address = r.address, event = reply.body] {
            state.requeue_front(address, event);
        };
    }
    return reply;
}

HttpResponse handle_send_message(StatusCall& call) {
    const Fields form = parse_form(call.request.body);
    const std::string* to = find_field(form, "MessageTo");
    const std::string* text = find_field(form, "MessageText");
    if (!to || !text)
        return bad_request(to ? "missing field MessageText" : "missing field MessageTo");
    const auto results = call.state.send_message(call.address, *to, *text);
    if (results.empty()) return bad_request("no recipients");
    std::string body;
    for (const auto& r : results) body += tag("sendresult", r);
    return text_reply(200, std::move(body));
}

}  // namespace vellix::sim
