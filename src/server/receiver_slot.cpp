#include "server/receiver_slot.h"

namespace vellix {

ReceiverSlot::ReceiverSlot(EventReceiverFactory factory, std::function<bool()> mayRun,
                           const Clock& clock)
    : factory_(std::move(factory)), mayRun_(std::move(mayRun)), clock_(clock) {
}

ReceiverSlot::~ReceiverSlot() {
    stopNow();
}

bool ReceiverSlot::start() {
    if (!factory_ || (mayRun_ && !mayRun_())) return false;
    if (receiver_ && receiver_->running()) return false;
    receiver_.reset();
    receiver_ = factory_();
    startedAt_ = clock_.now();
    return receiver_ != nullptr;
}

void ReceiverSlot::stopAndWait() {
    if (!receiver_) return;
    receiver_->stop();
    (void)receiver_->waitEnded(kReceiverStopWait);
    receiver_.reset();
}

void ReceiverSlot::stopNow() {
    if (!receiver_) return;
    receiver_->stop();
    receiver_.reset();
}

bool ReceiverSlot::running() const {
    return receiver_ && receiver_->running();
}

}  // namespace vellix
