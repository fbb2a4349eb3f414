#pragma once
// A private Xvfb for tests that need a real X server. Xvfb picks a free display number
// itself and tells it once it accepts connections.

#include <memory>
#include <string>

class QProcess;

namespace vellix::test {

class XvfbServer {
  public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Empty when Xvfb is missing or did not start; why() says what happened.
    const std::string& display() const { return display_; }
    const std::string& why() const { return why_; }

  private:
    std::unique_ptr<QProcess> process_;
    std::string display_;
    std::string why_;
};

}  // namespace vellix::test
