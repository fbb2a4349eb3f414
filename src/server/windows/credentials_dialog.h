#pragma once
// The user name and password prompt when the server (401) or the proxy (407) asks.

#include <QDialog>
#include <string>

#include "core/string_table.h"
#include "server/internet_session.h"

class QLineEdit;

namespace vellix {

// "The server <where> asks ..." or the proxy's text, in the table's language.
std::string credentialsPromptText(const StringTable& strings, AuthTarget target,
                                  const std::string& where);

class CredentialsDialog final : public QDialog {
    Q_OBJECT
  public:
    CredentialsDialog(const StringTable& strings, AuthTarget target, const std::string& where,
                      QWidget* parent = nullptr);

    Credentials credentials() const;

  private:
    QLineEdit* user_;
    QLineEdit* password_;
};

}  // namespace vellix
