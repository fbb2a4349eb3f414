#include "tray/note_frame.h"

#include "tray/new_mail_pass.h"

namespace vellix {

CMainFrame_Note::CMainFrame_Note(const Clock& clock, NoteFrameDeps deps)
    : Frame("Vellix Note", clock), deps_(deps) {
}

LResult CMainFrame_Note::handleMessage(Message& message) {
    switch (message.id) {
        case UM_COUNTS_READY:
            runPass();
            return 0;
        case UM_SHOW_DISCONNECT:
            deps_.windows.showDisconnect(message.take<std::string>().value_or(std::string()));
            return 0;
        case UM_CLOSE_DISCONNECT:
            deps_.windows.closeDisconnect();
            return 0;
        case UM_SHOW_ALERT: {
            // Without text (the tray menu's entry) the alerts already open come forward.
            std::optional<std::string> text = message.take<std::string>();
            if (text && text->empty()) return 0;
            deps_.windows.showAlert(std::move(text));
            return 0;
        }
        default:
            return Frame::handleMessage(message);
    }
}

void CMainFrame_Note::runPass() {
    const std::vector<FolderStatus> withNewMail = deps_.folders.copyWithNewMail();
    const bool first = deps_.state.firstCheckSinceStart;
    const NewMailActions actions = runNewMailPass(withNewMail, deps_.state);

    if (actions.blink) {
        postTrayState(deps_.registry, TrayState::NewMail);
    }
    if (actions.playSound) playNewMailSound();
    if (actions.showNotice) deps_.windows.showNote(noticeFolders(withNewMail, deps_.state));
    if (actions.openFolder) {
        deps_.registry.post(FrameKind::Server, UM_OPEN_LINK, 0, 0,
                            makePayload(firstUnreadLink(*actions.openFolder)));
    }
    if (deps_.notifier && deps_.settings.read(account::kNewMailDesktopNotice)) {
        notifyDesktop(arrivedFolders(withNewMail, deps_.state, first));
    }
}

void CMainFrame_Note::playNewMailSound() {
    if (!deps_.sound || !deps_.settings.read(account::kPlaySounds)) return;
    const std::string file = deps_.settings.read(account::kNewMailWaveFile);
    if (!file.empty()) deps_.sound->play(file);
}

void CMainFrame_Note::notifyDesktop(const std::vector<FolderStatus>& arrived) {
    if (arrived.empty()) return;
    NewMailNotice notice;
    notice.summary = deps_.strings.text(IDS_NOTE_TITLE);
    notice.body = desktopNoticeBody(arrived);
    notice.actionLabel = deps_.strings.text(IDS_NOTE_OPEN);
    const FrameRegistry& registry = deps_.registry;
    notice.onAction = [&registry, folder = arrived.front().name] {
        registry.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, makePayload(firstUnreadLink(folder)));
    };
    deps_.notifier->notify(std::move(notice));
}

}  // namespace vellix
