#include "tray/tool_runner.h"

#include <QProcess>

namespace vellix {

ToolRunner::ToolRunner(QProcessEnvironment environment, int timeoutMs)
    : environment_(std::move(environment)), timeoutMs_(timeoutMs) {
}

Result<ToolOutput> ToolRunner::run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    const std::string name = program.toStdString();
    if (!process.waitForStarted(timeoutMs_)) {
        return failure("cannot start " + name + ": " + process.errorString().toStdString());
    }
    if (!process.waitForFinished(timeoutMs_)) {
        process.kill();
        process.waitForFinished(1000);
        return failure(name + " did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit) return failure(name + " crashed");
    return ToolOutput{process.exitCode(), process.readAllStandardOutput().toStdString(),
                      process.readAllStandardError().toStdString()};
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
