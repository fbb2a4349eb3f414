#include "platform/xdg_desktop_shell.h"

#include <QFileInfo>
#include <QProcess>

#include "core/profile_file.h"
#include "core/settings_keys.h"

namespace vellix {
namespace {

const QString kOpener = QStringLiteral("xdg-open");

}  // namespace

QStringList browserArguments(const QString& commandTemplate, const QString& url) {
    QStringList arguments = QProcess::splitCommand(commandTemplate);
    if (arguments.isEmpty()) return {};
    bool placed = false;
    for (QString& argument : arguments) {
        if (argument.contains(QLatin1String("%1"))) {
            argument.replace(QLatin1String("%1"), url);
            placed = true;
        }
    }
    if (!placed) arguments.append(url);
    return arguments;
}

XdgDesktopShell::XdgDesktopShell(std::function<std::string()> browserCommand,
                                 std::optional<QProcessEnvironment> environment)
    : browserCommand_(std::move(browserCommand)), environment_(std::move(environment)) {
}

XdgDesktopShell XdgDesktopShell::forIniFile(std::string iniPath) {
    return XdgDesktopShell(
        [ini = ProfileFile(std::move(iniPath))] { return readKey(ini, ini::kBrowserCommand); });
}

Status XdgDesktopShell::openUrl(const std::string& url) {
    return startDetached(kOpener, {QString::fromStdString(url)});
}

Status XdgDesktopShell::openInNewBrowser(const std::string& url) {
    const std::string command = browserCommand_ ? browserCommand_() : std::string();
    QStringList arguments =
        browserArguments(QString::fromStdString(command), QString::fromStdString(url));
    if (arguments.isEmpty()) return openUrl(url);
    const QString program = arguments.takeFirst();
    return startDetached(program, arguments);
}

Status XdgDesktopShell::startProgram(const std::string& program, const std::string& parameters) {
    const QString path = QString::fromStdString(program);
    const QFileInfo info(path);
    // A document or folder named as the program is opened with its handler, as the
    // desktop would on a double-click.
    if (info.exists() && (info.isDir() || !info.isExecutable()))
        return startDetached(kOpener, {path});
    return startDetached(path, QProcess::splitCommand(QString::fromStdString(parameters)));
}

Status XdgDesktopShell::startDetached(const QString& program, const QStringList& arguments) const {
    if (program.isEmpty()) return failure("no program to start");
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (environment_) process.setProcessEnvironment(*environment_);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        return failure("cannot start " + program.toStdString() + ": " +
                       process.errorString().toStdString());
    }
    return success();
}

}  // namespace vellix
