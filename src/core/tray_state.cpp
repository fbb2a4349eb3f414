#include "core/tray_state.h"

namespace vellix {

WParam trayStateToWire(TrayState state) {
    return static_cast<WParam>(state);
}

TrayState trayStateFromWire(WParam wire) {
    if (wire > static_cast<WParam>(TrayState::Notice)) return TrayState::Unknown;
    return static_cast<TrayState>(wire);
}

void postTrayState(const FrameRegistry& frames, TrayState state) {
    frames.post(FrameKind::Tray, UM_SERVER_STATE, trayStateToWire(state));
}

void postTrayState(const FrameRegistry& frames, TrayState state, std::string tooltip) {
    frames.post(FrameKind::Tray, UM_SERVER_STATE, trayStateToWire(state), 0,
                makePayload(std::move(tooltip)));
}

void postTrayRetrying(const FrameRegistry& frames, long long seconds) {
    frames.post(FrameKind::Tray, UM_SERVER_STATE, trayStateToWire(TrayState::Lost),
                static_cast<LParam>(seconds));
}

void sendTrayNotice(const FrameRegistry& frames, std::string text) {
    frames.send(FrameKind::Tray, UM_SERVER_STATE, trayStateToWire(TrayState::Notice), 0,
                makePayload(std::move(text)));
}

}  // namespace vellix
