#pragma once
// What a transfer window needs from the rest of the program, handed in where it is built.
// The window-handler frame routes the server's transfer events to a window through
// TransferRoutes: it calls deliver*() while it holds its table lock, and a window leaves the
// table (under that lock) before it goes away, so no event reaches a dead window.

#include <functional>
#include <string>

#include "core/clock.h"
#include "core/frame_registry.h"
#include "im/im_events.h"
#include "server/internet_session.h"

namespace vellix {

class DesktopShell;
class SoundPlayer;

// Where transfers go: the server URL, the session, and the connection settings.
struct TransferEndpoint {
    std::string serverUrl;
    std::string sessionId;
    ConnectionSettings connection;
};

// A window that takes transfer events; deliver*() may be called from any thread.
class TransferPeer {
  public:
    virtual ~TransferPeer() = default;
    virtual void deliverResponse(FileTransferResponse response) = 0;
    virtual void deliverStatus(FileTransferStatus status) = 0;
};

// The window handler's transfer table, keyed by transferKey(peer, file name).
class TransferRoutes {
  public:
    virtual ~TransferRoutes() = default;
    virtual void enter(const std::string& key, TransferPeer* peer) = 0;
    // Removes the key if it still leads to `peer`.
    virtual void leave(const std::string& key, TransferPeer* peer) = 0;
};

// The questions a transfer window asks the user; modal, on the GUI thread.
class TransferDialogs {
  public:
    virtual ~TransferDialogs() = default;
    // The file to send; empty when the user cancels.
    virtual std::string chooseFileToSend() = 0;
    // A save path for the proposed name; empty when the user cancels.
    virtual std::string chooseSavePath(const std::string& proposedName) = 0;
    virtual bool askYesNo(const std::string& text) = 0;
    virtual void showMessage(const std::string& text, bool stopIcon) = 0;
};

struct TransferContext {
    const Clock& clock;
    FrameRegistry& frames;
    TransferRoutes& routes;
    TransferDialogs& dialogs;
    std::function<TransferEndpoint()> endpoint;
    std::function<std::string(int)> text;  // the string table
    DesktopShell* shell = nullptr;
    SoundPlayer* sound = nullptr;
    std::function<std::string()> incomingFileSound{};  // "IMIncomingFile"; empty: none
};

}  // namespace vellix
