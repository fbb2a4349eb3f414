// Reconnection of the server frame: automatic checks after failures, spaced logins after
// "invalid session" answers, restarts of a failing long poll, and the desktop's signals
// that the network or the machine is back.
#include <algorithm>

#include "core/settings_keys.h"
#include "server/server_frame.h"

namespace vellix {

FrameTask<> CMainFrame_ServerInterface::checkAndRetry() {
    // No co_await inside a condition: GCC 12 miscompiles it (the step never resumes).
    const bool checked = co_await Check();
    if (checked) {
        killTimer(kRetryTimer);
        if (reconnect_.failures() > 0 && deps_.dialogs) deps_.dialogs->closeError();
        reconnect_.reset();
        sessionLoop_.reset();
        co_await startReceiver();
    } else {
        scheduleRetry();
    }
}

FrameTask<> CMainFrame_ServerInterface::restartPollTimer() {
    killTimer(kPollTimer);
    co_await checkAndRetry();
    if (deps_.session.get().loggedIn) startPollTimer();
}

bool CMainFrame_ServerInterface::mayRetry() const {
    if (!autoRetry_ || abandoned()) return false;
    if (deps_.session.get().loginCancelled) return false;
    const AccountSettings account = deps_.account.get();
    return !account.url.empty() && !account.user.empty() && !account.password.empty();
}

void CMainFrame_ServerInterface::scheduleRetry() {
    // A spaced login is already on its way.
    if (!mayRetry() || hasTimer(kReloginTimer)) return;
    const int minutes = account::readPollInterval(deps_.accountSettings.file());
    reconnect_.setCap(std::min(kReconnectSteps.cap, Milliseconds(minutes * 60000LL)));
    const Milliseconds wait = reconnect_.next();
    setTimer(kRetryTimer, wait);
    // The tray says what happens next: "retrying in N s".
    const auto seconds = std::max<long long>(1, (wait.count() + 999) / 1000);
    postTrayRetrying(deps_.frames, seconds);
}

FrameTask<> CMainFrame_ServerInterface::retryNow() {
    killTimer(kRetryTimer);
    retrying_ = true;
    co_await checkAndRetry();
    retrying_ = false;
}

void CMainFrame_ServerInterface::loginAgainSpaced() {
    killTimer(kRetryTimer);
    setTimer(kReloginTimer, sessionLoop_.next());
}

// A long poll that failed: the server may be gone, so a check follows; one that keeps
// failing soon after each start waits longer each time.
void CMainFrame_ServerInterface::receiverEnded() {
    const bool steady = clock().now() - receiver_.startedAt() >= clock().scaled(kSteadyReceiver);
    receiver_.stopAndWait();
    if (steady) receiverRestarts_.reset();
    if (!mayRetry() || hasTimer(kRetryTimer) || hasTimer(kReloginTimer)) return;
    setTimer(kRetryTimer, receiverRestarts_.next());
}

FrameTask<> CMainFrame_ServerInterface::networkUp() {
    if (!hasTimer(kRetryTimer) || !mayRetry()) co_return;
    reconnect_.reset();
    co_await retryNow();
}

// After a suspend the long poll's connection is likely dead and the counts are old.
FrameTask<> CMainFrame_ServerInterface::resumed() {
    if (!mayRetry()) co_return;
    receiver_.stopAndWait();
    reconnect_.reset();
    co_await retryNow();
}

void CMainFrame_ServerInterface::respectDisconnect() {
    autoRetry_ = false;
    killTimer(kRetryTimer);
    killTimer(kReloginTimer);
}

void CMainFrame_ServerInterface::quitPosted() {
    quitPosted_ = true;
    if (internet_) internet_->close();
}

}  // namespace vellix
