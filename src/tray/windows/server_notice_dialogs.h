#pragma once
// The two windows for what the server says: the disconnect dialog (187), whose OK logs in
// again and whose Help opens the help page, and an administrator alert (250).

#include <QDialog>

#include <functional>
#include <string>

#include "core/string_table.h"

namespace vellix {

// The disconnect dialog's text: the fixed sentence, then the server's message when any.
std::string disconnectText(const StringTable& strings, const std::string& serverMessage);

class DisconnectDialog final : public QDialog {
    Q_OBJECT
  public:
    // Without `openHelp` the dialog has no Help button; with it, Help calls it with the dialog.
    DisconnectDialog(const StringTable& strings, const std::string& serverMessage,
                     std::function<void(QWidget*)> openHelp = {}, QWidget* parent = nullptr);
};

class AlertWindow final : public QDialog {
    Q_OBJECT
  public:
    AlertWindow(const StringTable& strings, const std::string& text, QWidget* parent = nullptr);
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace vellix
