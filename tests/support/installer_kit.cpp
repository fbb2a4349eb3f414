#include "support/installer_kit.h"

#include <QProcess>
#include <QStringList>

namespace vellix::test {
namespace {

// Runs a program to its end; "" when it succeeded, else what it printed.
std::string run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return program.toStdString() + " failed: " + process.readAll().toStdString() +
               process.errorString().toStdString();
    }
    return {};
}

}  // namespace

std::string updateTestKeyPath() {
    return VELLIX_BINARY_DIR "/update-test-key/private.pem";
}

SignedInstaller makeSignedInstaller(const std::string& folder, const std::string& version) {
    const QString stage = QString::fromStdString(folder + "/stage");
    const QString installer = QString::fromStdString(folder + "/VellixInstall.sh");
    SignedInstaller out;
    out.error = run(QStringLiteral("cmake"),
                    {QStringLiteral("--install"), QStringLiteral(VELLIX_BINARY_DIR),
                     QStringLiteral("--prefix"), stage});
    if (out.error.empty()) {
        out.error = run(QStringLiteral(VELLIX_SOURCE_DIR "/scripts/make_installer.sh"),
                        {stage, installer, QString::fromStdString(version)});
    }
    if (out.error.empty()) {
        out.error = run(QStringLiteral(VELLIX_BINARY_DIR "/bin/vellix-sign-installer"),
                        {QStringLiteral("sign"), QString::fromStdString(updateTestKeyPath()),
                         installer, installer + QStringLiteral(".sig")});
    }
    if (out.error.empty()) {
        out.path = installer.toStdString();
        out.signature = out.path + ".sig";
    }
    return out;
}

}  // namespace vellix::test
