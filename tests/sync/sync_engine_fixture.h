#pragma once
// Two in-memory stores, a fixed log clock and a captured log for engine scenarios.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "sync/contact_sync_engine.h"
#include "sync/memory_contact_source.h"
#include "sync_test_support.h"

namespace vellix::testing {

inline std::tm fixedTime() {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 4;
    time.tm_mday = 6;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    return time;
}

inline constexpr std::size_t kStampSize = 21;  // "[2024-05-06 07:08:09]"

class SyncEngineTest : public ::testing::Test {
  protected:
    SyncEngineTest()
        : log_([this](std::string_view line) { lines_.emplace_back(line); }, fixedTime) {
        context_.cancelRequested = &cancel_;
        context_.folderName = "Private";
        context_.showStatus = [this](std::string_view line) { status_.emplace_back(line); };
    }

    int Run(int type = SYNCH_SYNCH) {
        ContactSyncEngine engine(context_, log_);
        return engine.Synchronize(type, &remote_, &local_);
    }

    // A contact in a store and in its history, as a previous run leaves it.
    static void Keep(MemoryContactSource& source, const ContactRecord& record) {
        source.contacts().Append(record);
        source.history().Append(record);
    }

    // The log lines without their stamps.
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& line : lines_) out.push_back(line.substr(kStampSize));
        return out;
    }
    bool Logged(const std::string& message) const {
        const auto messages = Messages();
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }
    static ContactRecord Get(MemoryContactSource& source, const std::string& email) {
        ContactRecord record;
        source.contacts().GetByEmail(email, record);
        return record;
    }
    static ContactRecord History(MemoryContactSource& source, const std::string& email) {
        ContactRecord record;
        source.history().GetByEmail(email, record);
        return record;
    }
    int Writes(const MemoryContactSource& source) const {
        return source.Calls(SourceOp::AddContact) + source.Calls(SourceOp::UpdateContact) +
               source.Calls(SourceOp::RemoveContact);
    }

    MemoryContactSource remote_;
    MemoryContactSource local_;
    std::atomic<bool> cancel_{false};
    SyncContext context_;
    std::vector<std::string> lines_;
    std::vector<std::string> status_;
    SyncLog log_;
};

}  // namespace vellix::testing
