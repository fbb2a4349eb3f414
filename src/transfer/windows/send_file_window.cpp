#include "transfer/windows/send_file_window.h"

#include <QLabel>

#include "core/ascii_case.h"
#include "core/messages.h"
#include "core/string_table.h"
#include "server/file_transfer_records.h"
#include "server/server_requests.h"
#include "transfer/file_upload.h"
#include "transfer/transfer_names.h"

namespace vellix {
namespace {

std::string withArgument(const std::string& format, const std::string& value) {
    std::string out = format;
    if (const size_t at = out.find("%s"); at != std::string::npos) out.replace(at, 2, value);
    return out;
}

}  // namespace

SendFileWindow::SendFileWindow(TransferContext context, std::string recipients, bool group)
    : TransferWindow(std::move(context), TransferSide::Send),
      recipients_(std::move(recipients)),
      group_(group) {
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, &SendFileWindow::answerTimedOut);
    started_ = offer();
    if (!started_) closeSoon();
}

bool SendFileWindow::offer() {
    path_ = context_.dialogs.chooseFileToSend();
    if (path_.empty()) return false;
    name_ = path_.substr(path_.find_last_of('/') + 1);
    const auto size = regularFileSize(path_);
    if (!size) {
        context_.dialogs.showMessage(withArgument(context_.text(IDS_TRANSFER_FAILED), size.error()),
                                     true);
        return false;
    }
    if (*size > kMaxTransferSize) {
        context_.dialogs.showMessage(withArgument(context_.text(IDS_SEND_TOO_LARGE), name_), true);
        return false;
    }
    size_ = *size;
    for (const auto& recipient : splitRecipients(recipients_)) {
        enterRoute(transferKey(recipient, name_));
    }
    setWindowTitle(QString::fromStdString(context_.text(IDS_TRANSFER_SEND_TITLE) + name_));
    label_->setText(
        QString::fromStdString(context_.text(IDS_TRANSFER_TO_LABEL) + ' ' + recipients_));
    context_.frames.post(FrameKind::Server, UM_FILE_TRANSFER_REQUEST, 0, 0,
                         makePayload(FileOffer{recipients_, name_, size_}));
    setStatus(withArgument(context_.text(IDS_SEND_WAITING), recipients_));
    answerTimer_.start(static_cast<int>(context_.clock.scaled(kAnswerTimeout).count()));
    return true;
}

void SendFileWindow::onResponse(const FileTransferResponse& response) {
    if (!group_) answerTimer_.stop();
    if (!response.accepted) {
        if (group_) {
            declined_.push_back(response.from);
        } else {
            context_.dialogs.showMessage(context_.text(IDS_TRANSFER_REFUSED), false);
            closeSoon();
        }
        return;
    }
    const TransferEndpoint endpoint = context_.endpoint();
    startWorker<FileUpload>(UploadJob{
        requests::fileUpload(endpoint.serverUrl, endpoint.sessionId, response.from, name_), path_,
        size_});
    ++uploading_;
    startProgress(size_, context_.text(IDS_TRANSFER_SENDING), group_);
}

void SendFileWindow::onEnded(const TransferResult& result) {
    --uploading_;
    if (timedOut_ && uploading_ == 0) answerTimedOut();
    switch (result.outcome) {
        case TransferOutcome::Complete:
            setStatus(context_.text(IDS_TRANSFER_UPLOADED));
            break;
        case TransferOutcome::Cancelled:
            setStatus(context_.text(IDS_TRANSFER_CANCELLED));
            break;
        case TransferOutcome::Failed:
            setStatus(withArgument(context_.text(IDS_TRANSFER_FAILED), result.reason));
            setButtonToClose();
            break;
    }
}

void SendFileWindow::onStatus(const FileTransferStatus& status) {
    if (!equalsNoCase(status.status, "complete")) return;
    completed_.push_back(status.peer);
    setStatus(context_.text(group_ ? IDS_TRANSFER_GROUP_WAIT : IDS_TRANSFER_COMPLETE));
    setButtonToClose();
}

void SendFileWindow::answerTimedOut() {
    // A group's summary waits for uploads still running rather than cutting them off.
    timedOut_ = true;
    if (uploading_ > 0) return;
    const TimerOutcome outcome = answerTimerOutcome(group_, declined_, completed_, context_.text);
    context_.dialogs.showMessage(outcome.message, outcome.noResponse);
    closeSoon();
}

SendFileWindow* CWinThread_SendFile::start(TransferContext context, std::string recipients,
                                           bool group) {
    auto* window = new SendFileWindow(std::move(context), std::move(recipients), group);
    if (window->started()) window->show();
    return window->started() ? window : nullptr;
}

}  // namespace vellix
