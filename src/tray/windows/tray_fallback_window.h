#pragma once
// The way in while the desktop has no tray: a small window with the icon's picture and
// tooltip. A right click asks for the tray menu, a double click acts like one on the icon.

#include <QWidget>

#include <functional>

#include "tray/tray_host.h"

class QLabel;

namespace vellix {

class TrayFallbackWindow final : public QWidget {
    Q_OBJECT
  public:
    using Report = std::function<void(TrayClick click, QPoint where)>;
    explicit TrayFallbackWindow(Report report);

    void showState(const QIcon& icon, const QString& tip);
    QString text() const;
    // The user closed it: it stays away for the rest of the run.
    bool dismissed() const { return dismissed_; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Report report_;
    QLabel* picture_;
    QLabel* text_;
    bool dismissed_ = false;
};

}  // namespace vellix
