#pragma once
// CSplashWnd: the picture shown while Vellix starts. Any key or mouse button closes it,
// and the start closes it once the frames run, so it never holds the start back.

#include <QWidget>

namespace vellix {

class CSplashWnd final : public QWidget {
    Q_OBJECT
  public:
    // `version` is drawn under the name.
    explicit CSplashWnd(const QString& version);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QString version_;
};

}  // namespace vellix
