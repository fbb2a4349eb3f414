#include "transfer/windows/receive_file_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "core/ascii_case.h"
#include "core/desktop_shell.h"
#include "core/messages.h"
#include "core/sound_player.h"
#include "core/string_table.h"
#include "server/file_transfer_records.h"
#include "server/server_requests.h"
#include "transfer/file_download.h"
#include "transfer/transfer_names.h"

namespace vellix {
namespace {

std::string withArguments(std::string format, const std::string& first, const std::string& second) {
    for (const std::string* value : {&first, &second}) {
        if (const size_t at = format.find("%s"); at != std::string::npos)
            format.replace(at, 2, *value);
    }
    return format;
}

}  // namespace

ReceiveFileWindow::ReceiveFileWindow(TransferContext context, FileTransferRequest offer)
    : TransferWindow(std::move(context), TransferSide::Receive),
      offer_(std::move(offer)),
      keepPartial_(
          new QCheckBox(QString::fromStdString(context_.text(IDS_RECEIVE_KEEP_PARTIAL)), this)),
      open_(new QPushButton(QString::fromStdString(context_.text(IDS_RECEIVE_OPEN)), this)),
      openFolder_(
          new QPushButton(QString::fromStdString(context_.text(IDS_RECEIVE_OPEN_FOLDER)), this)) {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(openFolder_);
    buttons->addStretch();
    layout_->insertWidget(3, keepPartial_);
    layout_->insertLayout(4, buttons);
    open_->setEnabled(false);
    openFolder_->setEnabled(false);
    connect(open_, &QPushButton::clicked, this, [this] { openSaved(false); });
    connect(openFolder_, &QPushButton::clicked, this, [this] { openSaved(true); });

    const auto size = static_cast<std::uint64_t>(std::max(offer_.filesize, 0));
    startProgress(size, context_.text(IDS_RECEIVE_PREFIX), false);
    setWindowTitle(QString::fromStdString(context_.text(IDS_RECEIVE_TITLE) + offer_.filename));
    label_->setText(QString::fromStdString(context_.text(IDS_RECEIVE_FROM) + offer_.from));
    enterRoute(transferKey(offer_.from, offer_.filename));
    QTimer::singleShot(0, this, &ReceiveFileWindow::ask);
}

void ReceiveFileWindow::ask() {
    if (context_.sound && context_.incomingFileSound) {
        if (const std::string sound = context_.incomingFileSound(); !sound.empty()) {
            context_.sound->play(sound);
        }
    }
    const std::string question =
        withArguments(context_.text(IDS_RECEIVE_QUESTION), offer_.filename, offer_.from);
    // The peer's name is only a proposal: the dialog starts from a safe single name.
    const std::string proposed = safeFileName(offer_.filename);
    while (savePath_.empty()) {
        if (!context_.dialogs.askYesNo(question)) {
            answer(false);
            closeSoon();
            return;
        }
        savePath_ = context_.dialogs.chooseSavePath(proposed);
    }
    answer(true);
    startProgress(static_cast<std::uint64_t>(std::max(offer_.filesize, 0)),
                  context_.text(IDS_RECEIVE_PREFIX), false);
}

void ReceiveFileWindow::answer(bool accepted) {
    context_.frames.post(FrameKind::Server, UM_FILE_TRANSFER_RESPONSE, 0, 0,
                         makePayload(FileAnswer{offer_.from, offer_.filename, accepted}));
}

void ReceiveFileWindow::onStatus(const FileTransferStatus& status) {
    if (equalsNoCase(status.status, "available")) {
        if (downloading_ || savePath_.empty()) return;
        downloading_ = true;
        keepPartial_->setEnabled(false);
        const TransferEndpoint endpoint = context_.endpoint();
        startWorker<FileDownload>(
            DownloadJob{requests::fileDownload(endpoint.serverUrl, endpoint.sessionId,
                                               status.fileid, offer_.from, offer_.filename),
                        savePath_, static_cast<std::uint64_t>(std::max(offer_.filesize, 0)),
                        keepPartial_->isChecked()});
    } else if (equalsNoCase(status.status, "cancelled")) {
        setStatus(context_.text(IDS_RECEIVE_INTERRUPTED));
        setButtonToClose();
    }
}

void ReceiveFileWindow::onEnded(const TransferResult& result) {
    setButtonToClose();
    switch (result.outcome) {
        case TransferOutcome::Complete:
            setStatus(context_.text(IDS_RECEIVE_COMPLETE));
            open_->setEnabled(true);
            openFolder_->setEnabled(true);
            break;
        case TransferOutcome::Cancelled:
            setStatus(context_.text(IDS_TRANSFER_CANCELLED));
            break;
        case TransferOutcome::Failed:
            setStatus(withArguments(context_.text(IDS_TRANSFER_FAILED), result.reason, {}));
            break;
    }
}

void ReceiveFileWindow::openSaved(bool folder) {
    if (!context_.shell) return;
    std::string target = savePath_;
    if (folder) target = target.substr(0, target.find_last_of('/') + 1);
    (void)context_.shell->openUrl(
        QUrl::fromLocalFile(QString::fromStdString(target)).toString().toStdString());
}

ReceiveFileWindow* CWinThread_ReceiveFile::start(TransferContext context,
                                                 FileTransferRequest offer) {
    auto* window = new ReceiveFileWindow(std::move(context), std::move(offer));
    window->show();
    return window;
}

}  // namespace vellix
