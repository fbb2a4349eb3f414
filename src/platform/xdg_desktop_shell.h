#pragma once
// DesktopShell on a freedesktop.org desktop: xdg-open for addresses, or the browser
// command the user put in Vellix.ini; programs are started detached, never through a shell.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

#include "core/desktop_shell.h"

namespace vellix {

// The browser command's arguments for one address: the template is split like a command
// line, every "%1" in an argument becomes the address, and without any "%1" the address
// is one more argument. Empty when the template holds no program.
QStringList browserArguments(const QString& commandTemplate, const QString& url);

class XdgDesktopShell final : public DesktopShell {
  public:
    // browserCommand is asked on each start, so an edited setting applies at once.
    // Started programs get `environment`, or this process's when none is given.
    explicit XdgDesktopShell(std::function<std::string()> browserCommand,
                             std::optional<QProcessEnvironment> environment = std::nullopt);
    // Reads the browser command from that Vellix.ini.
    static XdgDesktopShell forIniFile(std::string iniPath);

    Status openUrl(const std::string& url) override;
    Status openInNewBrowser(const std::string& url) override;
    Status startProgram(const std::string& program, const std::string& parameters) override;

  private:
    Status startDetached(const QString& program, const QStringList& arguments) const;

    std::function<std::string()> browserCommand_;
    std::optional<QProcessEnvironment> environment_;
};

}  // namespace vellix
