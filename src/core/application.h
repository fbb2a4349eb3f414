#pragma once
// The application object: the state every frame reads, the frame registry and threads,
// the start-up in its fixed order and the exit sequence.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/account_store.h"
#include "core/activity_hooks.h"
#include "core/command_line.h"
#include "core/exit_sequence.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/main_frame.h"
#include "core/session_state.h"
#include "core/single_instance.h"
#include "core/thread_table.h"
#include "core/user_settings.h"

namespace vellix {

// One start-up frame: built on its own thread, or on the GUI thread when it owns windows.
struct FrameSpec {
    FrameKind kind;
    std::function<std::unique_ptr<Frame>()> factory;
    bool onGuiThread = false;
};

struct ApplicationPorts {
    SingleInstance& instance;
    // Made on the main frame's thread, which reports the user's activity.
    std::function<std::unique_ptr<ActivityHooks>()> makeHooks;
    MailtoLinkFactory mailtoLink;
    // Ends the GUI thread's loop; the caller then runs shutdown().
    std::function<void()> quitProgram;
    // A user-visible text by its string-table number.
    std::function<std::string(int)> text;
};

// Where the program's files are, settled by the start before the application starts.
struct ProgramFiles {
    std::string executablePath;
    std::string programFolder;  // ends with "/"
    std::string iniPath;        // Vellix.ini
    std::string dataFolder;     // ends with "/"
    std::string skinsFolder;
    std::string handOverPath;
};

inline constexpr int kStringOnline = 32782;
inline constexpr int kStringAway = 32790;

inline constexpr Milliseconds kNeedDataDelay{500};

// What the start must ask the user for before the first check can log in.
enum class MissingData { None, Server, Login };
MissingData missingData(const std::string& url, const std::string& user,
                        const std::string& password);
// The main frame is the last to go; it holds nothing that must outlive a slow stop.
inline constexpr Milliseconds kMainFrameExitWait{2000};

class Application {
  public:
    Application(ApplicationPorts ports, const Clock& clock, ProgramFiles files);
    ~Application();

    const Clock& clock() const { return clock_; }
    FrameRegistry& frames() { return frames_; }
    ThreadTable& threads() { return threads_; }
    Guarded<SessionState>& session() { return session_; }
    std::atomic<bool>& manualStatus() { return manualStatus_; }
    Guarded<std::string>& statusWord() { return statusWord_; }
    const ProgramFiles& files() const { return files_; }
    ProfileFile ini() const { return ProfileFile(files_.iniPath); }
    Guarded<AccountSettings>& account() { return account_; }
    AccountSettingsFile& accountSettings() { return accountSettings_; }

    // From the main frame on, in order: main frame, account settings, the start-up frames,
    // the request for missing server or login data (half a second later, from the main
    // frame's thread), a mail-to and a conversation of the command line. Returns once the
    // frames run.
    void start(const CommandLine& command, std::vector<FrameSpec> frames);
    // Milestones of the start, for the figures and for tests.
    struct Milestones {
        std::chrono::steady_clock::time_point framesRunning;
    };
    const Milestones& milestones() const { return milestones_; }

    // A frame started when first needed (the address-book frame after a login) rather than
    // at the start; startOnDemand runs it unless it runs already. From any thread; nothing
    // starts once the exit sequence has begun.
    void keepForLater(FrameSpec spec);
    bool startOnDemand(FrameKind kind);

    // The exit sequence; afterwards only the process end remains.
    ExitReport shutdown();

  private:
    void startMainFrame();
    void startFrames(std::vector<FrameSpec> frames);
    void requestMissingData(MissingData missing);
    std::string text(int id) const;

    ApplicationPorts ports_;
    const Clock& clock_;
    ProgramFiles files_;
    Guarded<AccountSettings> account_;
    AccountSettingsFile accountSettings_;
    FrameRegistry frames_;
    ThreadTable threads_;
    std::unique_ptr<FrameThread> mainThread_;
    Frame* mainFrame_ = nullptr;
    std::vector<std::pair<FrameKind, std::unique_ptr<Frame>>> guiFrames_;
    std::mutex laterMutex_;
    std::vector<FrameSpec> later_;
    bool stopping_ = false;
    Guarded<SessionState> session_;
    std::atomic<bool> manualStatus_{false};
    Guarded<std::string> statusWord_;
    Milestones milestones_;
};

}  // namespace vellix
