#pragma once
// Opens the transfer windows: a send window for a messenger window's send-file button and a
// receive window for each offer the receiver hands to the window handler. Lives on the GUI
// thread; receive() may be called from any thread. Closing it (at exit) closes the windows
// still open, which cancels and waits for their workers.

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "transfer/transfer_table_routes.h"
#include "transfer/windows/qt_transfer_dialogs.h"

namespace vellix {

class TransferWindow;

struct TransferOpenerDeps {
    const Clock& clock;
    FrameRegistry& frames;
    WindowTable& table;
    std::function<std::string(int)> text;
    std::function<TransferEndpoint()> endpoint;
    DesktopShell* shell = nullptr;
    SoundPlayer* sound = nullptr;
    std::function<std::string()> incomingFileSound{};
};

class TransferWindowOpener final : public QObject {
    Q_OBJECT
  public:
    explicit TransferWindowOpener(TransferOpenerDeps deps);
    ~TransferWindowOpener() override;

    // Recipients separated by commas and/or blanks; nothing opens when the user cancels.
    void send(const std::string& recipients, bool group);
    void receive(FileTransferRequest offer);

  private:
    TransferContext context();
    void keep(TransferWindow* window);

    TransferOpenerDeps deps_;
    QtTransferDialogs dialogs_;
    TransferTableRoutes routes_;
    std::vector<QPointer<TransferWindow>> open_;
};

}  // namespace vellix
