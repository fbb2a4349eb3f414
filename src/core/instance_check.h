#pragma once
// The first steps of every start: become the one instance, or hand the command over to the
// running one and end.

#include "core/clock.h"
#include "core/command_line.h"
#include "core/single_instance.h"

namespace vellix {

enum class InstanceOutcome { Run, Exit };

inline constexpr Milliseconds kInstanceLockTimeout{100};
inline constexpr Milliseconds kStopHandOverWait{3000};

// Exit means: end the process now with code 0.
InstanceOutcome checkSingleInstance(const CommandLine& command, SingleInstance& instance,
                                    const Clock& clock);

}  // namespace vellix
