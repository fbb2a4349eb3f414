#pragma once
// The transfer windows' questions as the desktop's own dialogs; GUI thread only.

#include <QWidget>
#include <functional>
#include <string>

#include "transfer/transfer_context.h"

namespace vellix {

class QtTransferDialogs final : public TransferDialogs {
  public:
    explicit QtTransferDialogs(std::function<std::string(int)> text) : text_(std::move(text)) {}

    std::string chooseFileToSend() override;
    std::string chooseSavePath(const std::string& proposedName) override;
    bool askYesNo(const std::string& text) override;
    void showMessage(const std::string& text, bool stopIcon) override;

  private:
    std::function<std::string(int)> text_;
};

}  // namespace vellix
