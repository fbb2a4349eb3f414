#pragma once
// The send window (dialog 275): picks a file, offers it to the recipients, uploads it to each
// one who accepts, and ends 60 s after the offer or when the user closes it. GUI thread.

#include <QTimer>
#include <string>
#include <vector>

#include "transfer/windows/transfer_window.h"

namespace vellix {

inline constexpr Milliseconds kAnswerTimeout{60000};

class SendFileWindow final : public TransferWindow {
    Q_OBJECT
  public:
    // `recipients`: addresses separated by commas and/or blanks. Nothing opens when the user
    // cancels the file choice or the file cannot be offered (the reason is shown): then
    // started() is false and the window deletes itself.
    SendFileWindow(TransferContext context, std::string recipients, bool group);
    bool started() const { return started_; }

  protected:
    void onResponse(const FileTransferResponse& response) override;
    void onStatus(const FileTransferStatus& status) override;
    void onEnded(const TransferResult& result) override;

  private:
    bool offer();
    void answerTimedOut();

    std::string recipients_;
    bool group_;
    bool started_ = false;
    std::string path_;
    std::string name_;
    std::uint64_t size_ = 0;
    std::vector<std::string> declined_;
    std::vector<std::string> completed_;
    QTimer answerTimer_;
    int uploading_ = 0;
    bool timedOut_ = false;
};

// Starts a send window the way a messenger window's send-file button does.
class CWinThread_SendFile {
  public:
    static SendFileWindow* start(TransferContext context, std::string recipients, bool group);
};

}  // namespace vellix
