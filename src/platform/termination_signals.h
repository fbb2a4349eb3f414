#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the thread that created this object, so
// the program ends through its exit sequence rather than being cut off.

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vellix {

class TerminationSignals final : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

  private:
    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vellix
