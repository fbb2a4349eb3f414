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
};

}  // namespace vellix
