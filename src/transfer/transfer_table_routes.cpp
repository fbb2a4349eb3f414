#include "transfer/transfer_table_routes.h"

#include "core/ascii_case.h"

namespace vellix {

class TransferTableRoutes::PeerSink final : public TransferSink {
  public:
    explicit PeerSink(TransferPeer* peer) : peer_(peer) {}

    void response(const FileTransferResponse& response) override {
        std::lock_guard lock(mutex_);
        if (peer_) peer_->deliverResponse(response);
    }
    void status(const FileTransferStatus& status) override {
        std::lock_guard lock(mutex_);
        if (peer_) peer_->deliverStatus(status);
    }
    // Waits for a forward in progress; afterwards the window is never reached.
    void detach() {
        std::lock_guard lock(mutex_);
        peer_ = nullptr;
    }

  private:
    std::mutex mutex_;
    TransferPeer* peer_;
};

void TransferTableRoutes::enter(const std::string& key, TransferPeer* peer) {
    auto sink = std::make_shared<PeerSink>(peer);
    {
        std::lock_guard lock(mutex_);
        auto& slot = sinks_[{asciiLowerCopy(key), peer}];
        if (slot) slot->detach();
        slot = sink;
    }
    table_.enterTransfer(key, std::move(sink));
}

void TransferTableRoutes::leave(const std::string& key, TransferPeer* peer) {
    const std::string lower = asciiLowerCopy(key);
    std::shared_ptr<PeerSink> sink;
    {
        std::lock_guard lock(mutex_);
        const auto it = sinks_.find({lower, peer});
        if (it == sinks_.end()) return;
        sink = std::move(it->second);
        sinks_.erase(it);
    }
    sink->detach();
    table_.locked([&](auto& entries) {
        const auto it = entries.find(lower);
        if (it == entries.end()) return;
        const auto* held = std::get_if<std::shared_ptr<TransferSink>>(&it->second);
        if (held && held->get() == sink.get()) entries.erase(it);
    });
}

}  // namespace vellix
