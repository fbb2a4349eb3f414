#pragma once
// The update's windows on the GUI thread: the question dialog (313), the progress dialog
// (314) and the message boxes. Every call comes from the GUI thread.

#include <QPointer>

#include "core/string_table.h"
#include "update/update_view.h"

class QDialog;
class QLabel;
class QProgressBar;

namespace vellix {

class QtUpdateView final : public UpdateView {
  public:
    explicit QtUpdateView(const StringTable& strings) : strings_(strings) {}
    ~QtUpdateView() override;

    void ask(std::function<void(bool)> answered) override;
    void showProgress(std::function<void()> cancelled) override;
    void setTotal(std::uint64_t total) override;
    void setProgress(const std::string& text, std::uint64_t received) override;
    void setText(const std::string& text) override;
    void tell(bool error, const std::string& text, std::function<void()> closed) override;
    void close() override;

  private:
    const StringTable& strings_;
    QPointer<QDialog> question_;
    QPointer<QDialog> progress_;
    QPointer<QLabel> text_;
    QPointer<QProgressBar> bar_;
    QPointer<QDialog> message_;
    int shift_ = 0;  // sizes past the bar's int range are shown in larger units
};

}  // namespace vellix
