#include <gtest/gtest.h>

#include "core/application.h"
#include "core/password_codec.h"
#include "support/fake_single_instance.h"
#include "support/recording_frame.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

using test::FakeSingleInstance;
using test::RecordingFrame;

// Starts the application with recording frames in the seven slots.
class ApplicationTest : public ::testing::Test {
  protected:
    std::unique_ptr<Application> makeApp() {
        ProgramFiles files;
        files.iniPath = dir.file("Vellix.ini");
        files.dataFolder = dir.path() + "/";
        ApplicationPorts ports{
            .instance = instance,
            .makeHooks = {},
            .mailtoLink =
                [](std::string_view t) { return makePayload("mailto:" + std::string(t)); },
            .quitProgram = [] {},
            .text = [](int id) { return "text" + std::to_string(id); },
        };
        return std::make_unique<Application>(std::move(ports), clock, std::move(files));
    }
    std::vector<FrameSpec> recordingFrames() {
        std::vector<FrameSpec> specs;
        for (FrameKind kind :
             {FrameKind::Tray, FrameKind::Menu, FrameKind::Note, FrameKind::Server,
              FrameKind::Messaging, FrameKind::WindowHandler, FrameKind::BuddyWindow}) {
            specs.push_back({kind,
                             [this, kind] {
                                 auto frame = std::make_unique<RecordingFrame>("r", clock);
                                 recorders[kind] = frame.get();
                                 order.push_back(kind);
                                 return frame;
                             },
                             kind == FrameKind::BuddyWindow});
        }
        return specs;
    }

    test::TempFolder dir;
    Clock clock{0.01};
    FakeSingleInstance instance;
    std::map<FrameKind, RecordingFrame*> recorders;
    std::vector<FrameKind> order;
};

TEST_F(ApplicationTest, StartsTheSevenFramesInOrderAndEndsThemAll) {
    auto app = makeApp();
    app->start(CommandLine("/mailto:ann@example.com"), recordingFrames());
    const std::vector<FrameKind> expected = {
        FrameKind::Tray,      FrameKind::Menu,          FrameKind::Note,       FrameKind::Server,
        FrameKind::Messaging, FrameKind::WindowHandler, FrameKind::BuddyWindow};
    EXPECT_EQ(order, expected);
    for (FrameKind kind : expected) EXPECT_TRUE(app->frames().has(kind)) << frameKindName(kind);
    EXPECT_TRUE(app->frames().has(FrameKind::Main));
    EXPECT_TRUE(instance.handler) << "the main frame listens for later starts";
    EXPECT_EQ(app->statusWord().get(), "text32782");
    // A mailto on the command line is opened as a link.
    RecordingFrame* server = recorders[FrameKind::Server];
    ASSERT_TRUE(server->waitForMessages(1));
    EXPECT_EQ(server->messages()[0].id, UM_OPEN_LINK);
    EXPECT_EQ(server->messages()[0].text.value_or(""), "mailto:ann@example.com");

    const ExitReport report = app->shutdown();
    EXPECT_TRUE(report.clean());
    for (FrameKind kind : expected) EXPECT_FALSE(app->frames().has(kind)) << frameKindName(kind);
    EXPECT_FALSE(app->frames().has(FrameKind::Main));
}

TEST_F(ApplicationTest, AsksForWhatTheFirstLoginStillNeeds) {
    struct Case {
        std::string ini;
        MessageId request;  // 0: nothing is asked
    } cases[] = {
        {"", UM_NEED_SERVER},
        {"[Vellix]\nURL=http://h/app.dll\n", UM_NEED_LOGIN},
        {"[Vellix]\nURL=http://h/app.dll\nLastEntry=1\nLastUser=1\nUser1=ann\n", UM_NEED_LOGIN},
        {"[Vellix]\nURL=http://h/app.dll\nLastEntry=1\nLastUser=1\nUser1=ann\nPassword1=" +
             encodePassword("pw") + "\nPwdSaveFlag1=YES\n",
         0},
        // The old single-account keys are converted before the decision.
        {"[Vellix]\nURL=u\nUser=ann\nPassword=" + encodePassword("pw") + "\nPwdSaveFlag=Yes\n", 0},
    };
    for (const auto& c : cases) {
        dir.write("Vellix.ini", c.ini);
        auto app = makeApp();
        app->start(CommandLine(""), recordingFrames());
        RecordingFrame* menu = recorders[FrameKind::Menu];
        if (!c.request) {
            // A marker posted well after the delay shows that no request came before it.
            clock.sleep(Milliseconds(1500));
            app->frames().post(FrameKind::Menu, UM_SHOW_MENU);
        }
        ASSERT_TRUE(menu->waitForMessages(1));
        EXPECT_EQ(menu->messages().front().id, c.request ? c.request : UM_SHOW_MENU) << c.ini;
        app->shutdown();
    }
}

}  // namespace
}  // namespace vellix
