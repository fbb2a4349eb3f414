#pragma once
// Runs a desktop tool (xdg-mime) to its end and collects what it printed. The environment
// handed to the tool also says where the user's desktop files live, so a test can point
// both at a temporary home.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

#include "core/result.h"
#include "core/settings_paths.h"

class QObject;
class QProcess;

namespace vellix {

struct ToolOutput {
    int exitCode = 0;
    std::string out;
    std::string err;
};

class ToolRunner {
  public:
    explicit ToolRunner(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
                        int timeoutMs = 15000);

    // Fails when the tool cannot be started, crashes or outlives the time-out (it is then
    // killed); a tool that ran gives its exit code, whatever it is.
    Result<ToolOutput> run(const QString& program, const QStringList& arguments) const;
    // The same without waiting, for the GUI thread: `done` gets what run() would return,
    // later, from the calling thread's event loop. The tool belongs to `owner`; when the owner
    // goes first the tool is ended and `done` never runs.
    void start(const QString& program, const QStringList& arguments, QObject* owner,
               std::function<void(Result<ToolOutput>)> done) const;

    const QProcessEnvironment& environment() const { return environment_; }
    // XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_DATA_DIRS and HOME of that environment.
    Environment xdgEnvironment() const;

  private:
    void prepare(QProcess& process) const;

    QProcessEnvironment environment_;
    int timeoutMs_;
};

}  // namespace vellix
