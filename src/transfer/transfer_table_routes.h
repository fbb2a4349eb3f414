#pragma once
// TransferRoutes on the window handler's table. A window's entry is a sink that forwards the
// receiver's events to the window until the window leaves; leaving waits for a forward in
// progress, so the handler thread never reaches a window that is going away.
// enter() and leave() come from the windows' (GUI) thread; the sinks are called from the
// window-handler thread.

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "im/window_table.h"
#include "transfer/transfer_context.h"

namespace vellix {

class TransferTableRoutes final : public TransferRoutes {
  public:
    explicit TransferTableRoutes(WindowTable& table) : table_(table) {}

    void enter(const std::string& key, TransferPeer* peer) override;
    void leave(const std::string& key, TransferPeer* peer) override;

    class PeerSink;

  private:
    WindowTable& table_;
    std::mutex mutex_;
    // Every sink handed out, also one a newer window's entry has replaced in the table: the
    // handler may still hold it, so it is detached when its own window leaves.
    std::map<std::pair<std::string, TransferPeer*>, std::shared_ptr<PeerSink>> sinks_;
};

}  // namespace vellix
