#include "transfer/windows/transfer_window.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/string_table.h"
#include "transfer/transfer_names.h"

namespace vellix {

TransferWindow::TransferWindow(TransferContext context, TransferSide side)
    : context_(std::move(context)),
      side_(side),
      layout_(new QVBoxLayout(this)),
      label_(new QLabel(this)),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      button_(new QPushButton(QString::fromStdString(context_.text(IDS_BUTTON_CANCEL)), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    status_->setWordWrap(true);
    progress_->setTextVisible(false);
    layout_->addWidget(label_);
    layout_->addWidget(progress_);
    layout_->addWidget(status_);
    layout_->addWidget(button_, 0, Qt::AlignRight);
    connect(button_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(420);
}

TransferWindow::~TransferWindow() {
    stopWorkers();
}

void TransferWindow::deliverResponse(FileTransferResponse response) {
    QMetaObject::invokeMethod(
        this, [this, r = std::move(response)] { onResponse(r); }, Qt::QueuedConnection);
}

void TransferWindow::deliverStatus(FileTransferStatus status) {
    QMetaObject::invokeMethod(
        this, [this, s = std::move(status)] { onStatus(s); }, Qt::QueuedConnection);
}

std::string TransferWindow::statusText() const {
    return status_->text().toStdString();
}

std::string TransferWindow::buttonText() const {
    return button_->text().toStdString();
}

void TransferWindow::enterRoute(const std::string& key) {
    context_.routes.enter(key, this);
    keys_.push_back(key);
}

void TransferWindow::setStatus(const std::string& text) {
    status_->setText(QString::fromStdString(text));
}

void TransferWindow::setButtonToClose() {
    button_->setText(QString::fromStdString(context_.text(IDS_TRANSFER_CLOSE)));
}

void TransferWindow::startProgress(std::uint64_t size, const std::string& prefix, bool groupText) {
    size_ = size;
    prefix_ = prefix;
    groupText_ = groupText;
    progress_->setRange(0, static_cast<int>(std::min<std::uint64_t>(size, kMaxTransferSize)));
    progress_->setValue(0);
    start_ = context_.clock.now();
    setStatus(groupText ? context_.text(IDS_TRANSFER_GROUP_WAIT) : startText(prefix, size));
}

TransferCallbacks TransferWindow::callbacksFor(size_t index) {
    return {.progress =
                [this, index] {
                    QMetaObject::invokeMethod(
                        this, [this, index] { showProgress(index, false); }, Qt::QueuedConnection);
                },
            .ended =
                [this, index](TransferResult result) {
                    QMetaObject::invokeMethod(
                        this,
                        [this, index, r = std::move(result)] {
                            showProgress(index, true);
                            onEnded(r);
                        },
                        Qt::QueuedConnection);
                }};
}

void TransferWindow::showProgress(size_t index, bool last) {
    const std::uint64_t bytes = workers_.at(index)->takeProgress();
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const std::int64_t elapsed = duration_cast<milliseconds>(context_.clock.now() - start_).count();
    if (!shouldRefresh(elapsed, lastRefreshMs_, last)) return;
    lastRefreshMs_ = elapsed;
    progress_->setValue(static_cast<int>(std::min<std::uint64_t>(bytes, kMaxTransferSize)));
    if (!groupText_) {
        setStatus(progressText(prefix_, bytes, size_, transferRate(bytes, elapsed, side_)));
    }
}

void TransferWindow::stopWorkers() {
    for (auto& worker : workers_) worker->cancel();
    for (auto& worker : workers_) worker->wait();
    for (const auto& key : keys_) context_.routes.leave(key, this);
    keys_.clear();
}

void TransferWindow::done(int result) {
    stopWorkers();
    QDialog::done(result);
    if (testAttribute(Qt::WA_DeleteOnClose)) deleteLater();
}

void TransferWindow::closeSoon() {
    QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
}

}  // namespace vellix
