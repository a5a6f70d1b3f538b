// The program's last guard: an error that escaped every run still ends the program the
// documented way, with a line in the run log and the failure exit code, never through
// std::terminate's silent abort.
#pragma once

#include <string>

namespace app {

// Writes what escaped (what: the error's text, "" when it carried none) to the run log, shows
// it in an error box when windowed, and returns the exit code to end with.
int EndAfterEscapedError(const std::string& what, bool windowed);

// Makes std::terminate (an error leaving a thread, or raised while another is handled) write its
// line to the run log and end the process with the failure code; no box, since it may be called
// on any thread.
void GuardTerminate();

}  // namespace app
