#include "core/instance_check.h"

namespace vellix {

InstanceOutcome checkSingleInstance(const CommandLine& command, SingleInstance& instance,
                                    const Clock& clock) {
    if (instance.acquire(kInstanceLockTimeout)) {
        // Nothing runs that could be stopped.
        return command.hasStop() ? InstanceOutcome::Exit : InstanceOutcome::Run;
    }
    if (command.hasStop()) {
        if (instance.postToRunning(UM_STOP, 0, 0)) clock.sleep(kStopHandOverWait);
    } else if (auto mailto = command.mailto()) {
        (void)instance.copyDataToRunning(COPYDATA_MAILTO, *mailto);
    } else if (auto address = command.conversation()) {
        (void)instance.copyDataToRunning(COPYDATA_CONVERSATION, *address);
    }
    return InstanceOutcome::Exit;
}

}  // namespace vellix
