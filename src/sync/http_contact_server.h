#pragma once
// The address-book run's server requests, on a session of its own (agent "Vellix_Addr"),
// replies kept with their line feeds. Made and used on the address-book thread; close()
// may come from any thread and ends a request in progress at once.

#include <memory>
#include <mutex>
#include <string>

#include "server/internet_session.h"
#include "sync/contact_sync_run.h"

namespace vellix {

struct ContactServerAddress {
    std::string url;
    std::string sessionId;
    ConnectionSettings connection;
    std::function<void(const std::string&)> trace;
};

class HttpContactServer final : public ContactServer {
  public:
    explicit HttpContactServer(ContactServerAddress address);
    ~HttpContactServer() override;

    std::optional<std::string> checkSession() override;
    std::optional<std::string> fetchContacts(std::string_view folder) override;
    std::optional<std::string> storeContacts(std::string_view folder,
                                             const std::string& body) override;
    void close();

  private:
    InternetSession* session();

    ContactServerAddress address_;
    std::mutex mutex_;
    std::unique_ptr<InternetSession> session_;
    bool closed_ = false;
};

}  // namespace vellix
