#pragma once
// Announces the user's status: one short-lived worker per change, each with its own
// internet session, so a slow server never holds up the server frame.

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "server/internet_session.h"

namespace vellix {

struct StatusAnnouncement {
    std::string serverUrl;
    std::string session;
    std::string protocolWord;
    ConnectionSettings connection;
};

class StatusSender {
  public:
    explicit StatusSender(std::function<void(const std::string&)> trace = {});
    // Ends every request still under way and waits for its worker.
    ~StatusSender();

    // Nothing is sent without a server URL or a session. The reply is not read.
    void send(StatusAnnouncement announcement);

  private:
    struct Job;
    void reapFinished();

    std::function<void(const std::string&)> trace_;
    std::list<std::shared_ptr<Job>> jobs_;
};

}  // namespace vellix
