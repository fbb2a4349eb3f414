// Webmail links opened for other frames.
#include "server/c_main_frame_server_interface.h"

namespace vellix {

void CMainFrame_ServerInterface::openLink(Message& message) {
    (void)message;
}

}  // namespace vellix
