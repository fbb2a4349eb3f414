#include "core/application.h"

#include <algorithm>

#include <QTimer>

namespace vellix {

Application::Application(ApplicationPorts ports, const Clock& clock, ProgramFiles files)
    : ports_(std::move(ports)), clock_(clock), files_(std::move(files)) {
}

Application::~Application() {
    // Normally emptied by shutdown(); a start that failed half-way ends here.
    for (auto& [kind, frame] : guiFrames_) frames_.set(kind, nullptr);
}

std::string Application::text(int id) const {
    return ports_.text ? ports_.text(id) : std::string();
}

MissingData missingData(const std::string& url, const std::string& user,
                        const std::string& password) {
    if (url.empty()) return MissingData::Server;
    if (user.empty() || password.empty()) return MissingData::Login;
    return MissingData::None;
}

void Application::start(const CommandLine& command, std::vector<FrameSpec> frames) {
    startMainFrame();
    ProfileFile settings = ini();
    const AccountSettings account = loadAccountSettings(settings);
    account_.set(account);
    session_.set(SessionState{});
    statusWord_.set(text(kStringOnline));
    startFrames(std::move(frames));
    milestones_.framesRunning = std::chrono::steady_clock::now();
    requestMissingData(missingData(account.url, account.user, account.password));
    if (auto mailto = command.mailto(); mailto && ports_.mailtoLink) {
        frames_.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, ports_.mailtoLink(*mailto));
    }
    // As if a second start had handed it over.
    if (auto address = command.conversation()) {
        frames_.post(FrameKind::Main, WM_COPYDATA, COPYDATA_CONVERSATION, 0,
                     makePayload(CopyData{COPYDATA_CONVERSATION, std::move(*address)}));
    }
}

void Application::startMainFrame() {
    mainThread_ = std::make_unique<FrameThread>(FrameKind::Main, frames_, [this] {
        MainFrameContext context{
            frames_,           session_,          manualStatus_,      text(kStringOnline),
            text(kStringAway), ports_.mailtoLink, ports_.quitProgram, nullptr,
            &ports_.instance,  ports_.makeHooks};
        auto frame = std::make_unique<CMainframe_Main>(std::move(context), clock_);
        mainFrame_ = frame.get();
        return frame;
    });
    mainThread_->startAndWait();
}

void Application::startFrames(std::vector<FrameSpec> frames) {
    for (auto& spec : frames) {
        if (spec.onGuiThread) {
            std::unique_ptr<Frame> frame;
            try {
                frame = spec.factory();
            } catch (...) {
                frame.reset();
            }
            if (!frame) continue;
            frames_.set(spec.kind, frame.get());
            guiFrames_.emplace_back(spec.kind, std::move(frame));
            continue;
        }
        auto thread = std::make_unique<FrameThread>(spec.kind, frames_, std::move(spec.factory));
        thread->startAndWait();
        threads_.put(std::move(thread));
    }
}

void Application::keepForLater(FrameSpec spec) {
    std::lock_guard lock(laterMutex_);
    later_.push_back(std::move(spec));
}

bool Application::startOnDemand(FrameKind kind) {
    std::lock_guard lock(laterMutex_);
    if (stopping_ || frames_.has(kind)) return false;
    const auto spec = std::find_if(later_.begin(), later_.end(),
                                   [kind](const FrameSpec& s) { return s.kind == kind; });
    if (spec == later_.end()) return false;
    // A frame told to quit a moment ago may still be ending; its slot is taken only after.
    if (!threads_.waitFor(kind, clock_.scaled(kAddressBookExitWait))) return false;
    auto thread = std::make_unique<FrameThread>(kind, frames_, spec->factory);
    thread->startAndWait();
    threads_.put(std::move(thread));
    return true;
}

void Application::requestMissingData(MissingData missing) {
    MessageId request = 0;
    if (missing == MissingData::Server) request = UM_NEED_SERVER;
    if (missing == MissingData::Login) request = UM_NEED_LOGIN;
    if (!request || !mainFrame_) return;
    // Posted later from the main frame's thread so the start itself is not held up; the
    // timer is the frame's child, so an early exit frees it with the frame.
    Frame* main = mainFrame_;
    const auto delay = clock_.scaled(kNeedDataDelay);
    QMetaObject::invokeMethod(
        main,
        [this, main, request, delay] {
            auto* timer = new QTimer(main);
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, main, [this, request, timer] {
                frames_.post(FrameKind::Menu, request);
                timer->deleteLater();
            });
            timer->start(delay);
        },
        Qt::QueuedConnection);
}

ExitReport Application::shutdown() {
    {
        std::lock_guard lock(laterMutex_);
        stopping_ = true;
    }
    ExitReport report = runExitSequence(frames_, threads_, clock_);
    threads_.deleteEnded();
    for (auto& [kind, frame] : guiFrames_) {
        frames_.set(kind, nullptr);
        frame.reset();
    }
    guiFrames_.clear();
    if (mainThread_) {
        frames_.post(FrameKind::Main, UM_QUIT_THREAD);
        if (mainThread_->wait(QDeadlineTimer(clock_.scaled(kMainFrameExitWait).count()))) {
            mainThread_.reset();
            mainFrame_ = nullptr;
        } else {
            report.abandoned.push_back(FrameKind::Main);
            (void)mainThread_.release();  // still running: the process ends around it
        }
    }
    return report;
}

}  // namespace vellix
