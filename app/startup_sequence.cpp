#include "startup_sequence.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSystemTrayIcon>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/application.h"
#include "core/installer_handover.h"
#include "core/instance_check.h"
#include "core/settings_keys.h"
#include "core/settings_paths.h"
#include "core/spelling_setup.h"
#include "core/string_table.h"
#include "gui_thread_ports.h"
#include "im/im_receiver.h"
#include "im/windows/buddy_window.h"
#include "im/windows/messenger_windows.h"
#include "platform/canberra_sound_player.h"
#include "platform/connectivity_signals.h"
#include "platform/desktop_notifier.h"
#include "platform/hunspell_spelling_engine.h"
#include "platform/idle_monitor.h"
#include "platform/instance_guard.h"
#include "platform/termination_signals.h"
#include "platform/xdg_desktop_shell.h"
#include "server/windows/qt_server_dialogs.h"
#include "startup_frames.h"
#include "transfer/windows/transfer_window_opener.h"
#include "tray/autostart_entry.h"
#include "tray/mailto.h"
#include "tray/windows/qt_menu_host.h"
#include "tray/windows/qt_note_windows.h"
#include "tray/windows/qt_tray_host.h"
#include "ui/about_page.h"
#include "ui/help_pages.h"
#include "ui/options_pages.h"
#include "ui/splash_window.h"
#include "update/installer_run.h"
#include "update/update_public_key.h"
#include "update/windows/qt_updater_launcher.h"

namespace vellix {
namespace {

// Ends the loop without asking the windows first: QCoreApplication::quit() is cancelled by
// any window that refuses to close, as the buddy window does without a tray (it minimizes).
// The exit sequence that follows closes the windows itself.
void endEventLoop() {
    QCoreApplication::exit(0);
}

// A tray program still starts without a display (a test machine, a remote shell): it then
// runs headless instead of aborting inside the platform plugin.
void chooseHeadlessWhenNoDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

std::string executablePath(const char* argv0) {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    return argv0 ? argv0 : "vellix";
}

// Steps 5 to 7 of the start: where the settings live, an installer's hand-over, skins.
ProgramFiles settleProgramFiles(const std::string& executable) {
    ProgramFiles files;
    files.executablePath = executable;
    files.programFolder = programFolder(executable);
    const SettingsLocation location = locateSettings(processEnvironment(), executable);
    files.iniPath = location.iniPath;
    files.dataFolder = location.dataFolder;
    files.handOverPath = handOverFilePath(executable);
    // Nothing writes yet, so every temporary file found now is a leftover of a kill.
    (void)removeStaleTemporaryFiles(files.iniPath, files.dataFolder);
    ProfileFile ini(files.iniPath);
    // An unreadable hand-over or unwritable Vellix.ini leaves the defaults in force.
    (void)copyHandOverToIni(files.handOverPath, ini);
    files.skinsFolder = files.programFolder + "Skins/";
    return files;
}

// A "StartOnLogin" the user set keeps the desktop's autostart entry in step with it; without
// the key an entry made by hand is left alone.
void applyStartOnLogin(const ProgramFiles& files) {
    const ProfileFile ini(files.iniPath);
    if (ini.readText(ini::kStartOnLogin.section, ini::kStartOnLogin.name).empty()) return;
    (void)setStartOnLogin(processEnvironment(), readKey(ini, ini::kStartOnLogin),
                          files.executablePath);
}

}  // namespace

int runVellix(int argc, char** argv) {
    const CommandLine command = CommandLine::fromArguments(argc, argv);
    const Clock clock(Clock::scaleFromEnvironment());

    InstanceGuard instance(InstanceGuard::runtimeFolder());
    if (checkSingleInstance(command, instance, clock) == InstanceOutcome::Exit) return 0;

    const std::string executable = executablePath(argc > 0 ? argv[0] : nullptr);
    HunspellSpellingEngine spelling;
    std::string folder = programFolder(executable);
    if (folder.size() > 1) folder.pop_back();
    setUpSpellingEngine(spelling, folder);
    ProgramFiles files = settleProgramFiles(executable);
    applyStartOnLogin(files);

    chooseHeadlessWhenNoDisplay();
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellix"));
    QApplication::setDesktopFileName(QStringLiteral("vellix"));
    QApplication::setQuitOnLastWindowClosed(false);

    const StringTable strings(languageFromEnvironment());
    ApplicationPorts ports{
        .instance = instance,
        .makeHooks = []() -> std::unique_ptr<ActivityHooks> { return IdleMonitor::forDesktop(); },
        .mailtoLink = [](std::string_view text) { return makePayload(mailtoLink(text)); },
        // Safe from any frame's thread: the quit is queued to the GUI thread's loop.
        .quitProgram =
            [] {
                QMetaObject::invokeMethod(
                    qApp, [] { endEventLoop(); }, Qt::QueuedConnection);
            },
        .text = [&strings](int id) { return strings.text(id); },
    };

    // The state and the GUI-thread services the frames share outlive them all.
    SharedState shared;
    XdgDesktopShell shell = XdgDesktopShell::forIniFile(files.iniPath);
    QtServerDialogs dialogs(strings);
    // A Vellix.ini that is not text is kept for the user to look at, never rewritten.
    if (!ProfileFile(files.iniPath).readable()) {
        dialogs.showError(
            fillPlaceholder(strings.text(IDS_SETTINGS_UNREADABLE), "%s", files.iniPath));
    }
    QtTrayHost trayHost(clock);
    QtMenuHost menuHost;
    GuiMenuDesktop menuDesktop(&dialogs, shell, strings);
    GuiExitConfirmation exitConfirmation(&dialogs, strings);
    CanberraSoundPlayer sound;
    DesktopNotifier notifier;
    Application app(std::move(ports), clock, std::move(files));
    QtNoteWindows noteWindows(app.frames(), shared.notifications, strings);
    noteWindows.setTrayIconGeometry([&trayHost] { return trayHost.trayIcon().geometry(); });
    noteWindows.setDisconnectHelp([&strings, &shell, &app](QWidget* owner) {
        openHelpTopic(owner, strings, app.files().programFolder, &shell, kHelpTopicDisconnect);
    });
    TerminationSignals signals([] { endEventLoop(); });
    // The desktop's end of session ends Vellix through the same sequence.
    QObject::connect(&qtApp, &QGuiApplication::commitDataRequest, &qtApp,
                     [](QSessionManager&) { endEventLoop(); });

    // VELLIX_TRACE=1 prints each message that reaches a frame and the start's milestones.
    const bool trace = !qEnvironmentVariableIsEmpty("VELLIX_TRACE");
    if (trace) {
        app.frames().setObserver([](FrameKind kind, MessageId id) {
            std::fprintf(stderr, "vellix: message %s %u\n", frameKindName(kind), id);
        });
    }
    // Network diagnostics ("Internet Error: ...") go where the message trace goes.
    std::function<void(const std::string&)> diagnostics;
    if (trace) diagnostics = [](const std::string& line) { std::fputs(line.c_str(), stderr); };
    ImReceiverContext receiver(app.clock(), app.frames(), app.session(), shared.buddies);
    receiver.trace = diagnostics;
    receiver.serverUrl = [&app] { return app.account().get().url; };
    receiver.connection = [&app] { return connectionOf(app.account().get()); };
    receiver.ownAddress = [&app] { return app.session().get().account; };
    receiver.text = [&strings](int id) { return strings.text(id); };
    receiver.accountSettings = &app.accountSettings();
    receiver.vellixIni = [&app] { return app.ini(); };
    receiver.sound = &sound;
    receiver.dialogs = &dialogs;
    receiver.logFolder = app.files().dataFolder;
    QtUpdaterLauncher updater(UpdaterDeps{
                                  .frames = app.frames(),
                                  .text = [&strings](int id) { return strings.text(id); },
                                  .source = [&app] { return currentEndpoint<UpdateSource>(app); },
                                  .prefix = installPrefix(app.files().programFolder),
                                  .publicKeyPem = std::string(kUpdatePublicKeyPem),
                                  .trace = diagnostics,
                              },
                              strings);
    DesktopServices services{strings,     shell,       dialogs,     dialogs,
                             trayHost,    menuHost,    menuDesktop, exitConfirmation,
                             noteWindows, sound,       notifier,    imReceiverFactory(receiver),
                             &spelling,   diagnostics, &spelling,   &updater};
    TransferWindowOpener transfers(TransferOpenerDeps{
        .clock = app.clock(),
        .frames = app.frames(),
        .table = shared.windowTable,
        .text = [&strings](int id) { return strings.text(id); },
        .endpoint = [&app] { return currentEndpoint<TransferEndpoint>(app); },
        .shell = &shell,
        .sound = &sound,
        .incomingFileSound =
            [&app] { return app.accountSettings().read(account::kIMIncomingFile); },
    });
    services.incomingFile = [&transfers](FileTransferRequest offer) {
        transfers.receive(std::move(offer));
    };
    // Conversations get a notifier of their own: a message notice never hides a mail notice.
    DesktopNotifier conversationNotifier;
    MessengerWindows conversations(MessengerContext{
        .frames = app.frames(),
        .table = shared.windowTable,
        .buddies = shared.buddies,
        .session = app.session(),
        .statusWord = app.statusWord(),
        .accountSettings = app.accountSettings(),
        .iniPath = app.files().iniPath,
        .dataFolder = app.files().dataFolder,
        .strings = strings,
        .serverUrl = [&app] { return app.account().get().url; },
        .mailtoLink = [](std::string_view text) { return makePayload(mailtoLink(text)); },
        .sound = &sound,
        .notifier = &conversationNotifier,
        .spelling = &spelling,
        .shell = &shell,
        .sendFile = [&transfers](const std::string& recipients,
                                 bool group) { transfers.send(recipients, group); },
        .trace = diagnostics,
    });
    services.conversations = &conversations;
    // The splash stays while the start runs; a key or click closes it sooner.
    QPointer<CSplashWnd> splash;
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        splash = new CSplashWnd(versionText(strings));
        splash->show();
        QCoreApplication::processEvents();
    }
    services.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    services.makeBuddyWindow = [&strings, &trayHost](BuddyWindowActions& actions) {
        return std::make_unique<CProperty_VX_Sheet>(
            strings, actions,
            CProperty_VX_Sheet::Hooks{
                .trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); },
                .visibilityChanged =
                    [&trayHost](bool visible) { trayHost.setMainWindowPresent(visible); },
            });
    };
    app.keepForLater(addressBookFrame(app, shared, services));
    app.start(command, startupFrames(app, shared, services));
    if (splash) splash->close();
    if (trace) std::fprintf(stderr, "vellix: frames running\n");
    // The network back or the machine awake: the server frame tries at once.
    ConnectivitySignals connectivity(
        [&app] { app.frames().post(FrameKind::Server, UM_NETWORK_UP); },
        [&app] { app.frames().post(FrameKind::Server, UM_RESUMED); });

    const int code = QApplication::exec();
    const ExitReport exit = app.shutdown();
    if (!exit.clean()) {
        // A thread that never answered cannot be destroyed safely; end around it.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

}  // namespace vellix
