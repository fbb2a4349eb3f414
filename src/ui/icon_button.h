#pragma once
// A push button that shows an icon and lights up under the pointer; a disabled button
// shows the icon greyed by the style. Keyboard focus and mnemonics work as on any button.

#include <QPushButton>

namespace vellix {

class IconButton final : public QPushButton {
    Q_OBJECT
  public:
    IconButton(const QIcon& icon, const QString& text, QWidget* parent = nullptr);
    bool hot() const { return hot_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool hot_ = false;
};

}  // namespace vellix
