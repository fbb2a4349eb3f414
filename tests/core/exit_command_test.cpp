#include <gtest/gtest.h>

#include "core/exit_command.h"
#include "core/settings_keys.h"
#include "support/frame_threads.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

class ScriptedExitDialog final : public ExitConfirmation {
  public:
    explicit ScriptedExitDialog(Answer answer) : answer_(answer) {}
    Answer ask(bool dontShowAgain) override {
        ++asked;
        shownChecked = dontShowAgain;
        return answer_;
    }
    int asked = 0;
    bool shownChecked = true;

  private:
    Answer answer_;
};

TEST(ExitCommandTest, AsksUnlessSuppressedAndRemembersTheBox) {
    struct Case {
        const char* stored;  // nullptr: no key
        bool yes, box;
        int asked;
        bool quit;
        const char* storedAfter;
    } cases[] = {
        {"Yes", false, false, 0, true, "Yes"}, {"1", false, false, 0, true, "1"},
        {nullptr, true, true, 1, true, "Yes"}, {nullptr, true, false, 1, true, "No"},
        {"No", false, true, 1, false, "No"},   {nullptr, false, true, 1, false, nullptr},
    };
    for (const auto& c : cases) {
        test::TempFolder dir;
        ProfileFile ini(dir.file("Vellix.ini"));
        if (c.stored) {
            ASSERT_TRUE(ini.writeText("Vellix", "SuppressEndProgram", c.stored).ok());
        }

        Clock clock;
        FrameRegistry frames;
        test::FrameThreads threads(frames, clock);
        test::RecordingFrame* main = threads.record(FrameKind::Main);

        ScriptedExitDialog dialog({c.yes, c.box});
        EXPECT_EQ(runExitCommand(ini, dialog, frames), c.quit);
        EXPECT_EQ(dialog.asked, c.asked);
        if (c.asked) {
            EXPECT_FALSE(dialog.shownChecked);
        }
        if (c.quit) {
            ASSERT_TRUE(main->waitForMessages(1));
            EXPECT_EQ(main->messages()[0].id, WM_QUIT);
        }
        EXPECT_EQ(ini.hasKey("Vellix", "SuppressEndProgram"), c.storedAfter != nullptr);
        if (c.storedAfter) {
            EXPECT_EQ(ini.readText("vellix", "suppressendprogram"), c.storedAfter);
        }
    }
}

}  // namespace
}  // namespace vellix
