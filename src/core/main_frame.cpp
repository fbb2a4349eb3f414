#include "core/main_frame.h"

namespace vellix {

CMainframe_Main::CMainframe_Main(MainFrameContext context, const Clock& clock)
    : Frame("Vellix", clock), context_(std::move(context)) {
    if (!context_.hooks && context_.makeHooks) {
        ownedHooks_ = context_.makeHooks();
        context_.hooks = ownedHooks_.get();
    }
    if (context_.instance) {
        // A failure leaves later starts unable to reach us; this instance still works.
        (void)context_.instance->listen([this](Message& m) { return handleMessage(m); });
    }
}

CMainframe_Main::~CMainframe_Main() {
    if (context_.instance) context_.instance->stopListening();
    if (context_.hooks) context_.hooks->remove();
}

LResult CMainframe_Main::handleMessage(Message& message) {
    switch (message.id) {
        case UM_STOP:
        case WM_QUIT:
            if (context_.quitProgram) context_.quitProgram();
            return 0;
        case WM_COPYDATA:
            return openMailto(message);
        case UM_INSTALL_HOOKS:
            if (context_.hooks) {
                (void)context_.hooks->install(static_cast<int>(message.w), [this](int code) {
                    post(UM_USER_ACTIVITY, static_cast<WParam>(code));
                });
            }
            return 0;
        case UM_REMOVE_HOOKS:
            if (context_.hooks) context_.hooks->remove();
            return 0;
        case UM_USER_ACTIVITY:
            userActivity(message.w);
            return 0;
        default:
            return Frame::handleMessage(message);
    }
}

LResult CMainframe_Main::openMailto(Message& message) {
    if (message.w == COPYDATA_CONVERSATION) {
        auto copy = message.take<CopyData>();
        if (!copy || copy->data.empty()) return 0;
        context_.frames.post(FrameKind::WindowHandler, UM_START_CONVERSATION, 0, 0,
                             makePayload(std::move(copy->data)));
        return 1;
    }
    if (message.w != COPYDATA_MAILTO) return 0;
    auto copy = message.take<CopyData>();
    if (!copy || !context_.mailtoLink) return 0;
    context_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, context_.mailtoLink(copy->data));
    return 1;
}

void CMainframe_Main::userActivity(WParam code) {
    if (!context_.session.read([](const SessionState& s) { return s.messagingEnabled; })) return;
    if (context_.manualStatus.load()) return;
    const std::string* word = nullptr;
    if (code == ACTIVITY_IDLE) {
        word = &context_.awayWord;
    } else if (code == 1 || code == 2) {
        word = &context_.onlineWord;
    } else {
        return;
    }
    // Sent, not posted: the status is set before the next report is looked at.
    context_.frames.send(FrameKind::Server, UM_SET_STATUS, 0, 0, makePayload(*word));
}

}  // namespace vellix
