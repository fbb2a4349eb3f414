#include "transfer/windows/qt_transfer_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "core/string_table.h"

namespace vellix {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Paths go to the file system in its own encoding, not as display text.
std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

std::string QtTransferDialogs::chooseFileToSend() {
    return localPath(QFileDialog::getOpenFileName(nullptr, q(text_(IDS_SEND_SELECT)), QString(),
                                                  q(text_(IDS_TRANSFER_ALL_FILES))));
}

std::string QtTransferDialogs::chooseSavePath(const std::string& proposedName) {
    // The dialog asks before it overwrites; the proposal is already a single file name.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    const QString start = QDir(folder).filePath(QFile::decodeName(proposedName.c_str()));
    return localPath(QFileDialog::getSaveFileName(nullptr, q(text_(IDS_RECEIVE_SAVE_AS)), start,
                                                  q(text_(IDS_TRANSFER_ALL_FILES))));
}

bool QtTransferDialogs::askYesNo(const std::string& text) {
    return QMessageBox::question(nullptr, QStringLiteral("Vellix"), q(text)) == QMessageBox::Yes;
}

void QtTransferDialogs::showMessage(const std::string& text, bool stopIcon) {
    if (stopIcon) {
        QMessageBox::critical(nullptr, QStringLiteral("Vellix"), q(text));
    } else {
        QMessageBox::information(nullptr, QStringLiteral("Vellix"), q(text));
    }
}

}  // namespace vellix
