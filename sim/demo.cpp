#include "demo.h"

#include "core/password_codec.h"

#include "text_util.h"

namespace vellix::sim {
namespace {

constexpr struct {
    const char* from;
    const char* subject;
} kMail[] = {
    {"bob@demo.local", "Lunch on Friday?"},
    {"newsletter@example.org", "This week at Skyloom"},
    {"carol@demo.local", "Quarterly figures"},
    {"it@demo.local", "Scheduled maintenance tonight"},
};

}  // namespace

std::string simple_tag(const std::string& text, const std::string& name) {
    const std::string open = "<" + name + ">";
    const size_t b = text.find(open);
    if (b == std::string::npos) return {};
    const size_t e = text.find("</" + name + ">", b + open.size());
    if (e == std::string::npos) return {};
    return text.substr(b + open.size(), e - b - open.size());
}

Demo::Demo(SimState& state, DemoOptions options) : state_(state), options_(std::move(options)) {
}

Demo::~Demo() {
    stop();
}

void Demo::start() {
    stopping_ = false;
    if (state_.has_account(options_.bot)) bot_ = std::thread([this] { bot_loop(); });
    if (state_.has_account(options_.mail_to)) mail_ = std::thread([this] { mail_loop(); });
}

void Demo::stop() {
    {
        std::lock_guard lock(mu_);
        stopping_ = true;
    }
    cv_.notify_all();
    if (bot_.joinable()) bot_.join();
    if (mail_.joinable()) mail_.join();
}

void Demo::handle_event(const std::string& event) {
    if (event.starts_with("<message>")) {
        // Group messages go back to everyone else in the conversation. The bot reads the
        // text the way a client does and answers in the clients' encoding.
        const std::string from = simple_tag(event, "from");
        std::string to = from;
        for (const auto& r : split_tokens(simple_tag(event, "to"), ", ")) {
            if (!iequals(r, options_.bot) && !iequals(r, from)) to += "," + r;
        }
        state_.send_message(
            options_.bot, to,
            encodeWithKeyTable(bot_answer(decodeWithKeyTable(simple_tag(event, "message_text")))));
    } else if (event.starts_with("<filetransferrequest>")) {
        state_.answer_offer(options_.bot, simple_tag(event, "from"), simple_tag(event, "filename"),
                            true);
    } else if (event.starts_with("<filetransferstatus>") &&
               simple_tag(event, "status") == "available") {
        // The bot takes the file at once; the sender then sees "complete".
        if (state_.find_file(options_.bot, simple_tag(event, "fileid"))) {
            state_.download_finished(simple_tag(event, "fileid"));
        }
    }
}

std::string bot_answer(std::string_view text) {
    return "You wrote: \"" + std::string(text) + "\". I am the demo bot :)";
}

void Demo::bot_loop() {
    std::string session;
    while (!stopping_) {
        if (session.empty() || !state_.session_account(session)) {
            const LoginResult r = state_.login(options_.bot, options_.bot_password, nullptr, false);
            if (r.status != LoginResult::Status::Ok) return;
            session = r.session;
            state_.set_status(options_.bot, "Online");
        }
        const WaitResult w = state_.wait_event(session, std::chrono::milliseconds(500),
                                               [this] { return stopping_.load(); });
        if (w.is_event) handle_event(w.reply);
    }
}

void Demo::mail_loop() {
    size_t n = 0;
    std::unique_lock lock(mu_);
    while (!cv_.wait_for(lock, options_.mail_interval, [this] { return stopping_.load(); })) {
        const auto& m = kMail[n++ % std::size(kMail)];
        state_.deliver(options_.mail_to, "INBOX",
                       {m.from, m.subject, "Delivered by the skyloom-sim demo.", false}, 1);
    }
}

}  // namespace vellix::sim
