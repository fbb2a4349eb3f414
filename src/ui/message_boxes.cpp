#include "ui/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace vellix {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

int run(QWidget* owner, QMessageBox::Icon icon, const QString& title, const std::string& text,
        bool question, const StringTable& strings) {
    QMessageBox box(icon, title, qt(text), QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.addButton(qt(strings.text(IDS_BUTTON_YES)), QMessageBox::YesRole);
        box.setDefaultButton(box.addButton(qt(strings.text(IDS_BUTTON_NO)), QMessageBox::NoRole));
    } else {
        box.addButton(qt(strings.text(IDS_BUTTON_OK)), QMessageBox::AcceptRole);
    }
    box.exec();
    return box.buttonRole(box.clickedButton()) == QMessageBox::YesRole ? 1 : 0;
}

}  // namespace

std::string fillIn(std::string_view format, std::string_view value) {
    std::string out(format);
    const auto at = out.find("%s");
    if (at == std::string::npos) return out + " " + std::string(value);
    return out.replace(at, 2, value);
}

void showError(QWidget* owner, const StringTable& strings, const std::string& text) {
    run(owner, QMessageBox::Information, qt(strings.text(IDS_VELLIX_ERROR)), text, false, strings);
}

void showInformation(QWidget* owner, const StringTable& strings, const std::string& text) {
    run(owner, QMessageBox::Information, QStringLiteral("Vellix"), text, false, strings);
}

bool askYesNo(QWidget* owner, const StringTable& strings, const std::string& text) {
    return run(owner, QMessageBox::Warning, QStringLiteral("Vellix"), text, true, strings) == 1;
}

}  // namespace vellix
