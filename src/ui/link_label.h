#pragma once
// A text that acts as a web link: blue, red under the pointer, opens its target (or its
// own text) in the browser on a click or Enter, then runs an optional after-click action.
// Focusable, so keyboard users reach it with Tab.

#include <QLabel>

#include <functional>
#include <string>

namespace vellix {

class DesktopShell;

class LinkLabel final : public QLabel {
    Q_OBJECT
  public:
    LinkLabel(const QString& text, DesktopShell* shell, QWidget* parent = nullptr);

    void setTarget(std::string target) { target_ = std::move(target); }
    const std::string& target() const { return target_; }
    void setAfterClick(std::function<void()> action) { afterClick_ = std::move(action); }
    bool hot() const { return hot_; }
    // What a click opens: the target, or the text when no target is set.
    std::string address() const;

  Q_SIGNALS:
    // The browser could not be started; the reason.
    void openFailed(const QString& reason);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void setHot(bool hot);
    void activate();

    DesktopShell* shell_;
    std::string target_;
    std::function<void()> afterClick_;
    bool hot_ = false;
};

}  // namespace vellix
