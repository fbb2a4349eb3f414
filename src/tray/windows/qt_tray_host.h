#pragma once
// The tray host on the desktop: a QSystemTrayIcon (StatusNotifierItem where the desktop
// offers it, XEmbed otherwise) on the GUI thread. Calls from other threads are queued to
// the GUI thread. While the desktop has no tray, the icon is kept and shown once a tray
// appears; until then a small window stands in for it, unless a main window exists.

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <mutex>
#include <string>

#include "core/clock.h"
#include "tray/tray_host.h"

class QTimer;

namespace vellix {

class TrayFallbackWindow;

// How often the GUI thread looks for a tray that appeared or went away.
inline constexpr Milliseconds kTrayAvailabilityCheck{2000};

// The picture of a resource number, from the compiled-in SVG files; null when unknown.
QIcon trayIconPicture(int icon);

class QtTrayHost final : public QObject, public TrayHost {
    Q_OBJECT
  public:
    // On the GUI thread.
    explicit QtTrayHost(const Clock& clock, QObject* parent = nullptr);
    ~QtTrayHost() override;

    bool apply(TrayAction action, int icon, const std::string& tip) override;
    void setActivationHandler(ActivationHandler handler) override;

    // Once a main window exists it is the way in; the stand-in window is no longer shown.
    void setMainWindowPresent(bool present);

    // For tests and diagnostics, on the GUI thread.
    QSystemTrayIcon& trayIcon() { return *tray_; }
    // Nothing until the stand-in window was first needed.
    TrayFallbackWindow* fallbackWindow() const { return fallback_.get(); }
    int shownIcon() const { return shownIcon_; }

  private:
    struct Wanted {
        bool present = false;
        int icon = 0;
        std::string tip;
    };
    void sync();
    void hideFallback();
    void checkAvailability();
    void report(TrayClick click, QPoint where);
    const QIcon& picture(int icon);

    QSystemTrayIcon* tray_;
    QTimer* availability_;
    std::unique_ptr<TrayFallbackWindow> fallback_;
    QHash<int, QIcon> pictures_;
    bool trayAvailable_ = false;
    bool mainWindowPresent_ = false;
    int shownIcon_ = 0;

    std::mutex mutex_;
    Wanted wanted_;
    std::mutex handlerMutex_;
    ActivationHandler handler_;
};

}  // namespace vellix
