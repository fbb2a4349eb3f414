#include "im/im_receiver.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <variant>

#include "core/frame_registry.h"
#include "core/messages.h"
#include "core/settings_keys.h"
#include "core/status_words.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "im/buddy_status_update.h"
#include "im/im_events.h"
#include "im/receiver_log.h"
#include "server/backoff_schedule.h"
#include "server/server_dialogs.h"

namespace vellix {
namespace {

constexpr Milliseconds kServerPause{5000};
// A long poll answered faster than this without an event was not held by the server (an
// empty answer, a proxy's error page): the next one waits, longer each time, so that such
// a server does not get a busy loop of requests.
constexpr Milliseconds kLongPollFloor{1000};
// An error reply is logged whole up to this size.
constexpr std::size_t kMaxLoggedReply = 4096;

constexpr std::string_view kNoInternetSession =
    "Could not create an internet session.\nPlease check your internet configuration.";

}  // namespace

struct CWinThread_IMHttp::Shared {
    explicit Shared(ImReceiverContext c) : ctx(std::move(c)) {}

    ImReceiverContext ctx;
    ReceiverLog log;  // the receiver thread's own

    mutable std::mutex mutex;
    std::condition_variable changed;
    bool stopRequest = false;
    bool stopCalled = false;  // stop() from the owner, as opposed to the loop's own ends
    bool failure = false;
    bool ended = false;
    std::shared_ptr<InternetSession> internet;
    BackoffSchedule quickAnswers{kSessionLoopSteps};  // the receiver thread's own

    bool flag(bool Shared::*member) const {
        std::lock_guard lock(mutex);
        return this->*member;
    }
    void raise(bool Shared::*member) {
        std::lock_guard lock(mutex);
        this->*member = true;
    }
    // Waits the scaled pause; false when stop() cut it short.
    bool pause(Milliseconds nominal) {
        std::unique_lock lock(mutex);
        return !changed.wait_for(lock, ctx.clock.scaled(nominal), [&] { return stopCalled; });
    }
    void dropInternet() {
        std::lock_guard lock(mutex);
        internet.reset();
    }

    bool sessionStep();
    void cycle();
    void dispatch(const std::string& reply, long httpStatus, const std::string& session,
                  bool quick);
    void run();
};

bool CWinThread_IMHttp::Shared::sessionStep() {
    {
        std::lock_guard lock(mutex);
        if (internet) return true;
    }
    InternetSession::Options options;
    options.agent = "VellixIM";
    options.connection = ctx.connection ? ctx.connection() : ConnectionSettings{};
    options.limits = ctx.limits;
    options.limits.total = ctx.clock.scaled(ctx.limits.total);
    options.trace = ctx.trace;
    auto opened = InternetSession::open(std::move(options));
    if (!opened) {
        if (ctx.dialogs) ctx.dialogs->showError(std::string(kNoInternetSession));
        return false;
    }
    std::shared_ptr<InternetSession> made = std::move(opened).value();
    std::lock_guard lock(mutex);
    // A stop() that came while the session was made must still end its requests.
    if (stopCalled) made->close();
    internet = std::move(made);
    return true;
}

void CWinThread_IMHttp::Shared::cycle() {
    if (!sessionStep()) {
        raise(&Shared::failure);
        log.write("ERROR:  Could not get internet session.");
        return;
    }
    const std::string url = ctx.serverUrl ? ctx.serverUrl() : std::string();
    if (url.empty()) {
        // Nothing to wait on until a login sets the URL; the next start check brings a new
        // receiver.
        raise(&Shared::stopRequest);
        return;
    }
    auto sessionId = [&] {
        return ctx.session.read([](const SessionState& s) { return s.sessionId; });
    };
    std::string session = sessionId();
    if (session.empty()) {
        ctx.frames.send(FrameKind::Server, UM_RELOGIN);
        session = sessionId();
        if (session.empty()) {
            raise(&Shared::failure);
            log.write("No valid session");
            return;
        }
    }
    const std::string request = url + "?Session=" + session + "&View=StatusCheck&WaitForIM=Yes";

    std::shared_ptr<InternetSession> client;
    {
        std::lock_guard lock(mutex);
        client = internet;
    }
    if (!client) return;  // stop() took it
    const auto sent = std::chrono::steady_clock::now();
    auto outcome = client->exchange(request, nullptr);
    client.reset();
    const bool quick = std::chrono::steady_clock::now() - sent < ctx.clock.scaled(kLongPollFloor);

    if (auto* error = std::get_if<InternetError>(&outcome)) {
        if (flag(&Shared::stopCalled)) return;  // our own close, not the network's
        log.write(formatInternetError(*error));
        if (error->code != internet_error::kTimeout) raise(&Shared::failure);
        dropInternet();
        return;
    }
    const HttpReply& reply = std::get<HttpReply>(outcome);
    const std::string text = readReplyText(reply.body);
    if (text.empty()) {
        raise(&Shared::failure);
        log.write("ERROR: Blank data received!");
        return;
    }
    dispatch(text, reply.status, session, quick);
}

void CWinThread_IMHttp::Shared::dispatch(const std::string& text, long httpStatus,
                                         const std::string& session, bool quick) {
    const std::string own = ctx.ownAddress ? ctx.ownAddress() : std::string();
    ImReply reply = parseImReply(text, own);
    auto logError = [&] { log.write("ERROR: " + text.substr(0, kMaxLoggedReply)); };
    // The parsed record goes to the window handler; an event missing a field is dropped.
    auto forward = [&]<class Record>(MessageId id, Record* record) {
        if (record)
            ctx.frames.post(FrameKind::WindowHandler, id, 0, 0, makePayload(std::move(*record)));
    };
    switch (reply.kind) {
        case ReplyKind::Message:
            forward(UM_DELIVER_IM, std::get_if<ImMessage>(&reply.record));
            break;
        case ReplyKind::StatusUpdate:
            if (auto* s = std::get_if<ImStatusUpdate>(&reply.record)) {
                const int id = statusWordId(s->status);
                const std::string shown = id && ctx.text ? ctx.text(id) : std::string();
                const AccountSettingsFile* account = ctx.accountSettings;
                BuddyStatusSignals signals{
                    ctx.frames,
                    ctx.buddies,
                    ctx.text ? ctx.text(IDS_STATUS_ONLINE) : std::string(),
                    [account] { return account && account->read(account::kPlaySounds); },
                    [this] {
                        return ctx.vellixIni ? readKey(ctx.vellixIni(), ini::kBlinkOnIMBuddyOnline)
                                             : ini::kBlinkOnIMBuddyOnline.fallback;
                    },
                    [account] {
                        return account ? account->read(account::kIMBuddyOnline) : std::string();
                    },
                    ctx.sound};
                applyBuddyStatus(signals, s->email, shown);
            }
            break;
        case ReplyKind::FileTransferRequest:
            forward(UM_INCOMING_FILE, std::get_if<FileTransferRequest>(&reply.record));
            break;
        case ReplyKind::FileTransferResponse:
            forward(UM_TRANSFER_RESPONSE, std::get_if<FileTransferResponse>(&reply.record));
            break;
        case ReplyKind::FileTransferStatus:
            forward(UM_TRANSFER_STATUS, std::get_if<FileTransferStatus>(&reply.record));
            break;
        case ReplyKind::GoneOffline:
            raise(&Shared::stopRequest);
            break;
        case ReplyKind::SessionDeleted:
        case ReplyKind::Error: {
            raise(&Shared::stopRequest);
            logError();
            if (reply.kind == ReplyKind::SessionDeleted && !pause(kServerPause)) return;
            // Only the session this poll used: a login in between may have made a new one.
            ctx.session.update([&](SessionState& s) {
                if (s.sessionId == session) s.sessionId.clear();
            });
            ctx.frames.post(FrameKind::Server, UM_LOGIN_AGAIN);
            break;
        }
        case ReplyKind::Wait:
            raise(&Shared::stopRequest);
            logError();
            ctx.frames.post(FrameKind::Server, UM_QUIT_BUDDY_WINDOW);
            pause(kServerPause);
            break;
        case ReplyKind::Ignored:
        case ReplyKind::Blank:
            if (quick || httpStatus < 200 || httpStatus > 299) {
                pause(quickAnswers.next());
            } else {
                quickAnswers.reset();
            }
            return;
    }
    quickAnswers.reset();
}

void CWinThread_IMHttp::Shared::run() {
    log.open(ctx.logFolder);
    if (sessionStep()) {
        log.write("Starting WaitForIM loop");
        while (!flag(&Shared::stopRequest) && !flag(&Shared::failure)) {
            try {
                cycle();
            } catch (const std::exception&) {
                // A reply too large to hold, for one: the owner starts a fresh receiver.
                raise(&Shared::failure);
                dropInternet();
            }
        }
        dropInternet();
        log.write("Stopping WaitForIM loop");
        log.close();
        if (flag(&Shared::failure)) ctx.frames.post(FrameKind::Server, UM_STOP_IM_RECEIVER);
    }
    log.close();
    {
        std::lock_guard lock(mutex);
        ended = true;
    }
    changed.notify_all();
}

CWinThread_IMHttp::CWinThread_IMHttp(ImReceiverContext context)
    : shared_(std::make_shared<Shared>(std::move(context))) {
    try {
        std::thread([shared = shared_] { shared->run(); }).detach();
    } catch (const std::system_error&) {
        shared_->failure = true;
        shared_->ended = true;
    }
}

// The thread keeps the shared state alive and ends on its own.
CWinThread_IMHttp::~CWinThread_IMHttp() = default;

bool CWinThread_IMHttp::running() const {
    return !shared_->flag(&Shared::ended);
}

bool CWinThread_IMHttp::failed() const {
    return shared_->flag(&Shared::failure);
}

void CWinThread_IMHttp::stop() {
    std::shared_ptr<InternetSession> internet;
    BackoffSchedule quickAnswers{kSessionLoopSteps};  // the receiver thread's own
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopRequest = true;
        shared_->stopCalled = true;
        internet = std::move(shared_->internet);
    }
    shared_->changed.notify_all();
    if (internet) internet->close();
}

bool CWinThread_IMHttp::waitEnded(Milliseconds timeout) {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->ended; });
}

EventReceiverFactory imReceiverFactory(ImReceiverContext context) {
    return [context]() -> std::unique_ptr<EventReceiver> {
        return std::make_unique<CWinThread_IMHttp>(context);
    };
}

}  // namespace vellix
