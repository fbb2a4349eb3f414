#pragma once
// The desktop's address-book service for tests and benchmarks: a private session bus in a
// scratch home, with the service's source registry and address-book factory started on
// it. One per process, kept until exit: the process environment (HOME, the XDG folders,
// the bus address) points at it from the first call on.

#include <QProcess>

#include <memory>
#include <string>

#include "support/private_bus.h"
#include "support/temp_folder.h"

namespace vellix::test {

class EdsSession {
  public:
    static EdsSession& shared();
    ~EdsSession();
    // Empty when the service is up, else why it is not.
    const std::string& error() const { return error_; }

  private:
    EdsSession();
    bool startDaemon(QProcess& daemon, const char* program, const char* busName);

    TempFolder home_;
    std::unique_ptr<PrivateBus> bus_;
    QProcess registry_;
    QProcess factory_;
    std::string error_;
};

}  // namespace vellix::test
