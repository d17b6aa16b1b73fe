// The start of a run: the database path, the login, the splash and the main
// window.
#pragma once

namespace startup {

// Returns -1 when the main window is up and the event loop should run;
// otherwise the exit status to end with (0 for a cancelled login, non-zero
// when start-up failed).
int StartRoutine();

}  // namespace startup
