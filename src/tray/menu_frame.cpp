#include "tray/menu_frame.h"

#include "core/options_page_names.h"

namespace vellix {

CMainFrame_Menu::CMainFrame_Menu(MenuFrameDeps deps, const Clock& clock)
    : Frame("Vellix Menu", clock), deps_(std::move(deps)) {
}

LResult CMainFrame_Menu::handleMessage(Message& message) {
    switch (message.id) {
        case UM_SHOW_MENU:
            showMenu(static_cast<int>(message.w), static_cast<int>(message.l));
            return 0;
        case UM_NEED_SERVER:
            // Without a server address the login dialog cannot help: the Server page asks
            // for all three.
            if (showOptionsPage(deps_.context.frames, kPageNameServer)) return 0;
            runLoginDialog(deps_.context, UM_RELOGIN, 0);
            return 0;
        case UM_NEED_LOGIN:
            runLoginDialog(deps_.context, UM_RELOGIN, 0);
            return 0;
        default:
            return Frame::handleMessage(message);
    }
}

void CMainFrame_Menu::showMenu(int x, int y) {
    menu_ = buildMenu(takeMenuSnapshot(deps_.context), deps_.context.strings);
    if (!deps_.host) return;
    const int id = deps_.host->showMenu(menu_, x, y);
    if (id != 0) runMenuCommand(deps_.context, menu_, id);
}

}  // namespace vellix
