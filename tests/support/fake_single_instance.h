#pragma once
// A scripted single-instance port: says whether the lock is free and whether a running
// instance answers, and records what was handed over.

#include <optional>
#include <string>
#include <vector>

#include "core/single_instance.h"

namespace vellix::test {

class FakeSingleInstance final : public SingleInstance {
  public:
    bool lockFree = true;
    bool otherAnswers = true;

    std::vector<MessageId> posted;
    std::vector<CopyData> copied;
    HandOverHandler handler;

    bool acquire(Milliseconds) override { return lockFree; }
    bool postToRunning(MessageId id, WParam, LParam) override {
        if (!otherAnswers) return false;
        posted.push_back(id);
        return true;
    }
    std::optional<bool> copyDataToRunning(std::uint32_t kind, std::string_view data) override {
        if (!otherAnswers) return std::nullopt;
        copied.push_back(CopyData{kind, std::string(data)});
        return true;
    }
    Status listen(HandOverHandler h) override {
        handler = std::move(h);
        return success();
    }
    void stopListening() override { handler = nullptr; }
};

}  // namespace vellix::test
