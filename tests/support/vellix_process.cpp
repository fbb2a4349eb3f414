#include "support/vellix_process.h"

#include <QDir>

#include <fstream>
#include <thread>

#include "core/password_codec.h"

namespace vellix::test {

VellixHome::VellixHome() {
    QDir root(dir_.path());
    for (const char* sub : {"runtime", "config", "data", "home"})
        root.mkpath(QString::fromUtf8(sub));
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment VellixHome::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir root(dir_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VELLIX_TRACE"), QStringLiteral("1"));
    return env;
}

bool VellixHome::writeProfile(const std::string& url, const std::string& user,
                              const std::string& password, const std::string& extra) const {
    if (!QDir(dir_.path()).mkpath(QStringLiteral("config/Vellix"))) return false;
    std::ofstream ini(dir_.filePath(QStringLiteral("config/Vellix/Vellix.ini")).toStdString(),
                      std::ios::binary);
    ini << "[Vellix]\nURL=" << url << "\nLastEntry=1\nLastUser=1\nUser1=" << user
        << "\nPassword1=" << encodePassword(password) << "\nPwdSaveFlag1=YES\n"
        << extra;
    return ini.good();
}

VellixProcess::VellixProcess(const VellixHome& home, QStringList arguments)
    : process_(std::make_unique<QProcess>()) {
    process_->setProgram(binary());
    process_->setArguments(std::move(arguments));
    process_->setProcessEnvironment(home.environment());
}

VellixProcess::~VellixProcess() {
    if (running()) kill();
}

QString VellixProcess::binary() {
    return QString::fromUtf8(VELLIX_BINARY_DIR) + QStringLiteral("/bin/vellix");
}

void VellixProcess::setEnvironment(const QProcessEnvironment& environment) {
    process_->setProcessEnvironment(environment);
}

void VellixProcess::start() {
    process_->start();
}

std::string VellixProcess::trace() {
    const QByteArray bytes = process_->readAllStandardError();
    stderr_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return stderr_;
}

bool VellixProcess::waitForTrace(const std::string& text, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (trace().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        if (!running()) return trace().find(text) != std::string::npos;
        process_->waitForReadyRead(50);
    }
    return true;
}

bool VellixProcess::waitForEnd(std::chrono::milliseconds timeout) {
    const bool ended = process_->waitForFinished(static_cast<int>(timeout.count()));
    trace();
    return ended || !running();
}

void VellixProcess::kill() {
    process_->kill();
    process_->waitForFinished(5000);
}

RunResult runToEnd(const VellixHome& home, QStringList arguments) {
    VellixProcess process(home, std::move(arguments));
    const auto begin = std::chrono::steady_clock::now();
    process.start();
    RunResult result;
    result.ended = process.waitForEnd(std::chrono::seconds(30));
    result.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - begin)
                              .count();
    result.exitCode = process.exitCode();
    return result;
}

}  // namespace vellix::test
