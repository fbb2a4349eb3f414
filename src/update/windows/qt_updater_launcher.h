#pragma once
// Starts the updater on the GUI thread when the window-handler frame asks for it, and keeps
// at most one running. startUpdater() and closeUpdater() may come from any thread; the rest
// is GUI-thread only.

#include <QObject>

#include <memory>

#include "core/updater_launcher.h"
#include "update/auto_updater.h"
#include "update/windows/qt_update_view.h"

namespace vellix {

class QtUpdaterLauncher final : public QObject, public UpdaterLauncher {
    Q_OBJECT
  public:
    QtUpdaterLauncher(UpdaterDeps deps, const StringTable& strings);
    ~QtUpdaterLauncher() override;

    void startUpdater() override;
    void closeUpdater() override;
    // The update in progress, if any.
    CWinThread_AutoUpdater* current() const { return updater_.get(); }

  Q_SIGNALS:
    void updaterStarted();
    void updaterEnded();

  private:
    void startHere();

    UpdaterDeps deps_;
    const StringTable& strings_;
    std::unique_ptr<QtUpdateView> view_;
    std::unique_ptr<CWinThread_AutoUpdater> updater_;
};

}  // namespace vellix
