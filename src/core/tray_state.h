#pragma once
// The tray icon's display states, and the one place they become the number UM_SERVER_STATE
// carries (1..6, 0 keeps the current state). Inside the process states stay typed.

#include <string>

#include "core/frame_registry.h"

namespace vellix {

enum class TrayState : int {
    Keep = 0,  // leave the state as it is, refresh its tooltip
    Connected = 1,
    NewMail = 2,
    Waiting = 3,
    Lost = 4,
    Connecting = 5,
    Notice = 6,    // a timed notice with its own text, then back to the state before
    Unknown = -1,  // a number outside the table: the icon is taken away
};

WParam trayStateToWire(TrayState state);
TrayState trayStateFromWire(WParam wire);

// Queues the state for the tray frame.
void postTrayState(const FrameRegistry& frames, TrayState state);
// Queues the state with the tooltip text it should show instead of the state's own.
void postTrayState(const FrameRegistry& frames, TrayState state, std::string tooltip);
// The connection is lost and the next attempt comes in `seconds`: the tooltip says so.
void postTrayRetrying(const FrameRegistry& frames, long long seconds);
// Shows a timed notice and waits until the tray frame has taken its text.
void sendTrayNotice(const FrameRegistry& frames, std::string text);

}  // namespace vellix
