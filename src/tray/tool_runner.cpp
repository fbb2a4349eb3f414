#include "tray/tool_runner.h"

#include <QProcess>
#include <QTimer>

#include <memory>

namespace vellix {

ToolRunner::ToolRunner(QProcessEnvironment environment, int timeoutMs)
    : environment_(std::move(environment)), timeoutMs_(timeoutMs) {
}

namespace {

// What a tool that ended (or was killed at its time-out) gives.
Result<ToolOutput> outcome(QProcess& process, const std::string& name, bool timedOut) {
    if (timedOut) return failure(name + " did not finish");
    if (process.exitStatus() != QProcess::NormalExit) return failure(name + " crashed");
    return ToolOutput{process.exitCode(), process.readAllStandardOutput().toStdString(),
                      process.readAllStandardError().toStdString()};
}

std::string notStarted(const QProcess& process, const std::string& name) {
    return "cannot start " + name + ": " + process.errorString().toStdString();
}

}  // namespace

void ToolRunner::prepare(QProcess& process) const {
    process.setProcessEnvironment(environment_);
    process.setStandardInputFile(QProcess::nullDevice());
}

Result<ToolOutput> ToolRunner::run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    prepare(process);
    process.start(program, arguments);
    const std::string name = program.toStdString();
    if (!process.waitForStarted(timeoutMs_)) return failure(notStarted(process, name));
    if (!process.waitForFinished(timeoutMs_)) {
        process.kill();
        process.waitForFinished(1000);
        return outcome(process, name, true);
    }
    return outcome(process, name, false);
}

void ToolRunner::start(const QString& program, const QStringList& arguments, QObject* owner,
                       std::function<void(Result<ToolOutput>)> done) const {
    // Not the owner's child: a child would be destroyed while the owner is half gone, and
    // its forced end would still answer.
    auto* process = new QProcess;
    prepare(*process);
    const std::string name = program.toStdString();
    auto timedOut = std::make_shared<bool>(false);
    const auto forget = [process] {
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        process->deleteLater();
    };
    const auto answer = [forget, done = std::move(done)](Result<ToolOutput> result) {
        forget();
        done(std::move(result));
    };
    // Gone with its owner at once: a deferred delete would leak when no event loop follows.
    QObject::connect(owner, &QObject::destroyed, process, [process] {
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
        delete process;
    });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, name, answer](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             answer(failure(notStarted(*process, name)));
                         }
                     });
    QObject::connect(process, &QProcess::finished, process, [process, name, timedOut, answer] {
        answer(outcome(*process, name, *timedOut));
    });
    QTimer::singleShot(timeoutMs_, process, [process, timedOut] {
        *timedOut = true;
        process->kill();
    });
    process->start(program, arguments);
}

Environment ToolRunner::xdgEnvironment() const {
    Environment env;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "HOME"}) {
        const QString key = QString::fromLatin1(name);
        if (environment_.contains(key)) env[name] = environment_.value(key).toStdString();
    }
    return env;
}

}  // namespace vellix
