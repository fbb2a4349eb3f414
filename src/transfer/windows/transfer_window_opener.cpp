#include "transfer/windows/transfer_window_opener.h"

#include <QMetaObject>
#include <algorithm>

#include "transfer/windows/receive_file_window.h"
#include "transfer/windows/send_file_window.h"

namespace vellix {

TransferWindowOpener::TransferWindowOpener(TransferOpenerDeps deps)
    : deps_(std::move(deps)), dialogs_(deps_.text), routes_(deps_.table) {
}

TransferWindowOpener::~TransferWindowOpener() {
    // At exit, after the event loop: a deferred delete would never run.
    for (const auto& window : open_) {
        if (!window) continue;
        window->reject();
        delete window.data();
    }
}

TransferContext TransferWindowOpener::context() {
    return TransferContext{
        .clock = deps_.clock,
        .frames = deps_.frames,
        .routes = routes_,
        .dialogs = dialogs_,
        .endpoint = deps_.endpoint,
        .text = deps_.text,
        .shell = deps_.shell,
        .sound = deps_.sound,
        .incomingFileSound = deps_.incomingFileSound,
    };
}

void TransferWindowOpener::send(const std::string& recipients, bool group) {
    keep(CWinThread_SendFile::start(context(), recipients, group));
}

void TransferWindowOpener::receive(FileTransferRequest offer) {
    // The receiver's thread hands the offer over and goes on; the window opens on ours.
    QMetaObject::invokeMethod(
        this,
        [this, offer = std::move(offer)]() mutable {
            TransferWindow* window = CWinThread_ReceiveFile::start(context(), std::move(offer));
            // Above the windows already open, without moving it.
            window->raise();
            window->activateWindow();
            keep(window);
        },
        Qt::QueuedConnection);
}

void TransferWindowOpener::keep(TransferWindow* window) {
    std::erase_if(open_, [](const QPointer<TransferWindow>& w) { return w.isNull(); });
    if (window) open_.emplace_back(window);
}

}  // namespace vellix
