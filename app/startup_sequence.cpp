#include "startup_sequence.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSessionManager>

#include <cstdio>
#include <cstdlib>

#include "core/application.h"
#include "core/instance_check.h"
#include "im/buddy_window_frame.h"
#include "im/c_main_frame_im_interface.h"
#include "im/c_main_frame_window_handler.h"
#include "platform/instance_guard.h"
#include "platform/termination_signals.h"
#include "server/c_main_frame_server_interface.h"
#include "tray/c_main_frame.h"
#include "tray/c_main_frame_menu.h"
#include "tray/c_main_frame_note.h"
#include "tray/mailto.h"

namespace vellix {
namespace {

// A tray program still starts without a display (a test machine, a remote shell): it then
// runs headless instead of aborting inside the platform plugin.
void chooseHeadlessWhenNoDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

std::vector<FrameSpec> startupFrames(const Clock& clock) {
    return {
        {FrameKind::Tray, [&clock] { return std::make_unique<CMainFrame>(clock); }, false},
        {FrameKind::Menu, [&clock] { return std::make_unique<CMainFrame_Menu>(clock); }, false},
        {FrameKind::Note, [&clock] { return std::make_unique<CMainFrame_Note>(clock); }, false},
        {FrameKind::Server,
         [&clock] {
             return std::make_unique<CMainFrame_ServerInterface>(clock, std::function<void()>());
         },
         false},
        {FrameKind::Messaging, [&clock] { return std::make_unique<CMainFrame_IMInterface>(clock); },
         false},
        {FrameKind::WindowHandler,
         [&clock] { return std::make_unique<CMainFrame_WindowHandler>(clock); }, false},
        {FrameKind::BuddyWindow, [&clock] { return std::make_unique<BuddyWindowFrame>(clock); },
         true},
    };
}

}  // namespace

int runVellix(int argc, char** argv) {
    const CommandLine command = CommandLine::fromArguments(argc, argv);
    const Clock clock(Clock::scaleFromEnvironment());

    InstanceGuard instance(InstanceGuard::runtimeFolder());
    if (checkSingleInstance(command, instance, clock) == InstanceOutcome::Exit) return 0;

    chooseHeadlessWhenNoDisplay();
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellix"));
    QApplication::setDesktopFileName(QStringLiteral("vellix"));
    QApplication::setQuitOnLastWindowClosed(false);

    ApplicationPorts ports{
        .instance = instance,
        .spelling = nullptr,
        .hooks = nullptr,
        .mailtoLink = [](std::string_view text) { return makePayload(mailtoLink(text)); },
        // Safe from any frame's thread: the quit is queued to the GUI thread's loop.
        .quitProgram =
            [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); },
        .text = {},
    };

    Application app(std::move(ports), clock);
    TerminationSignals signals([] { QCoreApplication::quit(); });
    // The desktop's end of session ends Vellix through the same sequence.
    QObject::connect(&qtApp, &QGuiApplication::commitDataRequest, &qtApp,
                     [](QSessionManager&) { QCoreApplication::quit(); });

    // VELLIX_TRACE=1 prints each message that reaches a frame and the start's milestones.
    const bool trace = !qEnvironmentVariableIsEmpty("VELLIX_TRACE");
    if (trace) {
        app.frames().setObserver([](FrameKind kind, MessageId id) {
            std::fprintf(stderr, "vellix: message %s %u\n", frameKindName(kind), id);
        });
    }
    app.start(command, startupFrames(clock), MissingData::None);
    if (trace) std::fprintf(stderr, "vellix: frames running\n");

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
