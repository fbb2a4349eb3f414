#include "support/xvfb_server.h"

#include <QProcess>
#include <QStandardPaths>

namespace vellix::test {

XvfbServer::XvfbServer() : process_(std::make_unique<QProcess>()) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        why_ = "Xvfb is not installed";
        return;
    }
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardErrorFile(QProcess::nullDevice());
    process_->start(program,
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                     QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("320x240x24"), QStringLiteral("-noreset")});
    if (!process_->waitForStarted(5000)) {
        why_ = "Xvfb did not start";
        return;
    }
    // The display number arrives on stdout once the server is ready.
    while (!process_->canReadLine()) {
        if (!process_->waitForReadyRead(10000)) {
            why_ = "Xvfb did not report a display";
            return;
        }
    }
    const QByteArray number = process_->readLine().trimmed();
    if (number.isEmpty()) {
        why_ = "Xvfb reported no display number";
        return;
    }
    display_ = ":" + number.toStdString();
}

XvfbServer::~XvfbServer() {
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(3000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }
}

}  // namespace vellix::test
