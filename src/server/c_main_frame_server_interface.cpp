#include "server/c_main_frame_server_interface.h"

namespace vellix {

CMainFrame_ServerInterface::CMainFrame_ServerInterface(const Clock& clock,
                                                       std::function<void()> dropUserSettings)
    : Frame("Vellix ServerInterface", clock), dropUserSettings_(std::move(dropUserSettings)) {
}

LResult CMainFrame_ServerInterface::handleMessage(Message& message) {
    if (message.id == UM_QUIT_THREAD && dropUserSettings_) dropUserSettings_();
    return Frame::handleMessage(message);
}

}  // namespace vellix
