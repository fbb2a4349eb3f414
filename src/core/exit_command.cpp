#include "core/exit_command.h"

#include "core/settings_keys.h"

namespace vellix {

bool runExitCommand(ProfileFile& ini, ExitConfirmation& dialog, const FrameRegistry& frames) {
    const bool suppress = readKey(ini, ini::kSuppressEndProgram);
    if (!suppress) {
        const auto answer = dialog.ask(suppress);
        if (!answer.yes) return false;
        // An unwritable settings file only means the question comes again next time.
        (void)ini.writeBool(ini::kSuppressEndProgram.section, ini::kSuppressEndProgram.name,
                            answer.dontShowAgain);
    }
    return frames.post(FrameKind::Main, WM_QUIT);
}

}  // namespace vellix
