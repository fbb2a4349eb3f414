#pragma once
// The composition root: the start-up steps in their fixed order, with the desktop's
// stand-ins plugged into the core.

namespace vellix {

// Runs Vellix and returns the process exit code.
int runVellix(int argc, char** argv);

}  // namespace vellix
