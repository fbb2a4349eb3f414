// Demo mode: a bot account that answers messages and accepts files, and mail that arrives
// every so often.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "sim_state.h"

namespace vellix::sim {

struct DemoOptions {
    std::string bot = "bot@demo.local";
    std::string bot_password = "bot";
    std::string mail_to = "alice@demo.local";
    std::chrono::milliseconds mail_interval{45000};
};

class Demo {
  public:
    Demo(SimState& state, DemoOptions options);
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    void start();
    void stop();

  private:
    void bot_loop();
    void mail_loop();
    void handle_event(const std::string& event);

    SimState& state_;
    DemoOptions options_;
    std::atomic<bool> stopping_{false};
    std::mutex mu_;
    std::condition_variable cv_;
    std::thread bot_;
    std::thread mail_;
};

// The bot's answer to a decoded message text.
std::string bot_answer(std::string_view text);

// The text between the first <name> and the following </name>; empty when absent.
std::string simple_tag(const std::string& text, const std::string& name);

}  // namespace vellix::sim
