#pragma once
// The exit question (dialog 160): Yes, No and a "don't show this again" box.

#include <QDialog>

#include "core/exit_command.h"
#include "core/string_table.h"

class QCheckBox;

namespace vellix {

class ExitConfirmDialog final : public QDialog {
    Q_OBJECT
  public:
    ExitConfirmDialog(const StringTable& strings, bool dontShowAgain, QWidget* parent = nullptr);
    bool dontShowAgain() const;

  private:
    QCheckBox* dontShow_ = nullptr;
};

// Shows the dialog on the GUI thread, waiting there from any other thread.
class ExitConfirmationDialog final : public ExitConfirmation {
  public:
    explicit ExitConfirmationDialog(const StringTable& strings) : strings_(strings) {}
    Answer ask(bool dontShowAgain) override;

  private:
    const StringTable& strings_;
};

}  // namespace vellix
