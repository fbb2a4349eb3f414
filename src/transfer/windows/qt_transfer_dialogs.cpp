#include "transfer/windows/qt_transfer_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "core/string_table.h"

namespace vellix {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

std::string QtTransferDialogs::chooseFileToSend() {
    return QFileDialog::getOpenFileName(nullptr, q(text_(IDS_SEND_SELECT)), QString(),
                                        q(text_(IDS_TRANSFER_ALL_FILES)))
        .toStdString();
}

std::string QtTransferDialogs::chooseSavePath(const std::string& proposedName) {
    // The dialog asks before it overwrites; the proposal is already a single file name.
    const QString start = QDir::home().filePath(q(proposedName));
    return QFileDialog::getSaveFileName(nullptr, q(text_(IDS_RECEIVE_SAVE_AS)), start,
                                        q(text_(IDS_TRANSFER_ALL_FILES)))
        .toStdString();
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
