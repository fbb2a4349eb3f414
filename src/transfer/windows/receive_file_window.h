#pragma once
// The receive window (dialog 274), one per offer: asks whether to accept and where to save,
// answers the sender, downloads once the server has the file, and offers Open and Open
// Folder afterwards. GUI thread.

#include <string>

#include "transfer/windows/transfer_window.h"

class QCheckBox;
class QPushButton;

namespace vellix {

class ReceiveFileWindow final : public TransferWindow {
    Q_OBJECT
  public:
    ReceiveFileWindow(TransferContext context, FileTransferRequest offer);
    const std::string& savePath() const { return savePath_; }

  protected:
    void onStatus(const FileTransferStatus& status) override;
    void onEnded(const TransferResult& result) override;

  private:
    void ask();
    void answer(bool accepted);
    void openSaved(bool folder);

    FileTransferRequest offer_;
    std::string savePath_;
    QCheckBox* keepPartial_;
    QPushButton* open_;
    QPushButton* openFolder_;
    bool downloading_ = false;
};

// Opens the receive window for an offer; returns at once (the question comes after).
class CWinThread_ReceiveFile {
  public:
    static ReceiveFileWindow* start(TransferContext context, FileTransferRequest offer);
};

}  // namespace vellix
