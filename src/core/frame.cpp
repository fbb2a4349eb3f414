#include "core/frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <future>

namespace vellix {
namespace {

const QEvent::Type kPostedType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kSentType = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent {
  public:
    explicit PostedMessage(Message m) : QEvent(kPostedType), message(std::move(m)) {}
    Message message;
};

// A sent message carries the promise of its result. If the frame goes away before handling
// it, the event is destroyed unanswered and the waiting sender sees a broken promise.
class SentMessage : public QEvent {
  public:
    SentMessage(Message m, std::promise<LResult> p)
        : QEvent(kSentType), message(std::move(m)), result(std::move(p)) {}
    Message message;
    std::promise<LResult> result;
};

}  // namespace

Frame::Frame(std::string title, const Clock& clock) : title_(std::move(title)), clock_(clock) {
}

Frame::~Frame() = default;

void Frame::post(MessageId id, WParam w, LParam l, std::unique_ptr<Payload> payload) {
    if (id == UM_QUIT_THREAD) quitPosted();
    QCoreApplication::postEvent(this, new PostedMessage(Message{id, w, l, std::move(payload)}));
}

LResult Frame::send(MessageId id, WParam w, LParam l, std::unique_ptr<Payload> payload) {
    if (QThread::currentThread() == thread()) {
        Message message{id, w, l, std::move(payload)};
        return handleMessage(message);
    }
    auto result = enqueueSend(id, w, l, std::move(payload));
    return waitFor(result);
}

std::future<LResult> Frame::enqueueSend(MessageId id, WParam w, LParam l,
                                        std::unique_ptr<Payload> payload) {
    std::promise<LResult> promise;
    auto future = promise.get_future();
    QCoreApplication::postEvent(
        this, new SentMessage(Message{id, w, l, std::move(payload)}, std::move(promise)));
    return future;
}

LResult Frame::waitFor(std::future<LResult>& result) {
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0;
    }
}

bool Frame::event(QEvent* e) {
    // Once told to quit, the frame handles nothing more; a sent message dropped here
    // answers 0 to its sender.
    if (quitting_ && (e->type() == kPostedType || e->type() == kSentType)) return true;
    if (e->type() == kPostedType) {
        Message& message = static_cast<PostedMessage*>(e)->message;
        if (step_.valid() && message.id != UM_QUIT_THREAD) {
            held_.push_back(Held{std::move(message), std::nullopt, std::nullopt});
        } else {
            handleMessage(message);
        }
        return true;
    }
    if (e->type() == kSentType) {
        auto* sent = static_cast<SentMessage*>(e);
        if (step_.valid() && sent->message.id != UM_QUIT_THREAD) {
            held_.push_back(Held{std::move(sent->message), std::move(sent->result), std::nullopt});
        } else {
            sent->result.set_value(handleMessage(sent->message));
        }
        return true;
    }
    return QObject::event(e);
}

LResult Frame::handleMessage(Message& message) {
    if (message.id == UM_QUIT_THREAD) quitThread();
    return 0;
}

void Frame::onTimer(int /*id*/) {
}

void Frame::quitThread() {
    quitting_ = true;
    for (auto& entry : timers_) entry.second->stop();
    // The rest of a waiting step is dropped; held senders are answered 0.
    if (pauseTimer_) pauseTimer_->stop();
    paused_ = {};
    step_.reset();
    nextSteps_.clear();
    held_.clear();
    if (QThread* t = thread()) t->exit(0);
}

void Frame::setTimer(int id, Milliseconds period) {
    if (QThread::currentThread() == thread()) {
        startTimerHere(id, period);
    } else {
        QMetaObject::invokeMethod(
            this, [this, id, period] { startTimerHere(id, period); }, Qt::QueuedConnection);
    }
}

void Frame::killTimer(int id) {
    if (QThread::currentThread() == thread()) {
        stopTimerHere(id);
    } else {
        QMetaObject::invokeMethod(
            this, [this, id] { stopTimerHere(id); }, Qt::QueuedConnection);
    }
}

bool Frame::hasTimer(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void Frame::startTimerHere(int id, Milliseconds period) {
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::CoarseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] { timerFired(id); });
    }
    timer->start(clock_.scaled(period));
}

void Frame::timerFired(int id) {
    if (!step_.valid()) {
        onTimer(id);
        return;
    }
    // A repeating timer that fires again while held is still one tick.
    for (const Held& held : held_) {
        if (held.timerId == id) return;
    }
    held_.push_back(Held{Message{}, std::nullopt, id});
}

void Frame::runStep(FrameTask<> step) {
    if (quitting_ || !step.valid()) return;
    nextSteps_.push_back(std::move(step));
    advanceSteps();
}

void Frame::resumeAfter(Milliseconds nominal, std::coroutine_handle<> waiting) {
    paused_ = waiting;
    if (!pauseTimer_) {
        pauseTimer_ = new QTimer(this);
        pauseTimer_->setSingleShot(true);
        connect(pauseTimer_, &QTimer::timeout, this, [this] {
            if (auto resumed = std::exchange(paused_, {})) resumed.resume();
            advanceSteps();
        });
    }
    pauseTimer_->start(clock_.scaled(nominal));
}

// Runs steps and held work in order until a step waits or nothing is left. Work started
// from inside (a held message that starts a step) joins this loop instead of nesting.
void Frame::advanceSteps() {
    if (advancing_) return;
    advancing_ = true;
    while (!quitting_) {
        if (step_.valid()) {
            if (!step_.done()) break;
            step_.reset();
        }
        if (!nextSteps_.empty()) {
            step_ = std::move(nextSteps_.front());
            nextSteps_.pop_front();
            step_.start();
            continue;
        }
        if (held_.empty()) break;
        Held held = std::move(held_.front());
        held_.pop_front();
        if (held.timerId) {
            onTimer(*held.timerId);
        } else if (held.result) {
            held.result->set_value(handleMessage(held.message));
        } else {
            handleMessage(held.message);
        }
    }
    advancing_ = false;
}

void Frame::stopTimerHere(int id) {
    std::erase_if(held_, [id](const Held& held) { return held.timerId == id; });
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

}  // namespace vellix
