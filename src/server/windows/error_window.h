#pragma once
// The error window: a message from the server frame with an OK button, not modal. It
// deletes itself once it is closed in any way.

#include <QDialog>

#include "core/string_table.h"

namespace vellix {

// Not translated: other parts of the program look for an open error window by this title.
inline constexpr const char* kErrorWindowTitle = "Vellix Error Message";

class ErrorWindow final : public QDialog {
    Q_OBJECT
  public:
    ErrorWindow(const StringTable& strings, const QString& text, QWidget* parent = nullptr);
    const QString& text() const { return text_; }

  private:
    QString text_;
};

// The width of a message's text: its natural width within 24 to 40 lines of "x" widths
// ("em"), and never less than the title needs beside the window's buttons.
int messageTextWidth(int naturalTextWidth, int titleWidth, int em);

}  // namespace vellix
