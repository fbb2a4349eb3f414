#pragma once
// Runs the real vellix binary in a private environment (its own runtime, config and data
// folders) and reads what it traces, for end-to-end tests.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <string>

namespace vellix::test {

class VellixHome {
  public:
    VellixHome();
    QProcessEnvironment environment() const;
    QString path() const { return dir_.path(); }
    // Writes Vellix.ini for one remembered account with a stored password, plus `extra`
    // lines of the [Vellix] section; false when it cannot be written.
    bool writeProfile(const std::string& url, const std::string& user, const std::string& password,
                      const std::string& extra = {}) const;

  private:
    QTemporaryDir dir_;
};

class VellixProcess {
  public:
    VellixProcess(const VellixHome& home, QStringList arguments);
    ~VellixProcess();

    static QString binary();

    // Replaces the home's environment, e.g. for a real display; call before start().
    void setEnvironment(const QProcessEnvironment& environment);
    void start();
    qint64 pid() const { return process_->processId(); }
    // Waits until stderr holds the text; false on time-out or when the process ended.
    bool waitForTrace(const std::string& text,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits for the end; false on time-out.
    bool waitForEnd(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool running() const { return process_->state() != QProcess::NotRunning; }
    int exitCode() const { return process_->exitCode(); }
    bool crashed() const { return process_->exitStatus() == QProcess::CrashExit; }
    void terminate() { process_->terminate(); }
    void kill();
    std::string trace();

  private:
    std::unique_ptr<QProcess> process_;
    std::string stderr_;
};

// Runs a short-lived vellix to its end; returns {exit code, milliseconds taken}.
struct RunResult {
    int exitCode = -1;
    long long milliseconds = 0;
    bool ended = false;
};
RunResult runToEnd(const VellixHome& home, QStringList arguments);

}  // namespace vellix::test
