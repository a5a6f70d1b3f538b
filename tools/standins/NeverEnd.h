// A test switch of the service tools: with QUARN_STANDIN_NEVER_END naming a file, a tool started
// to register or remove a service appends its process id to that file (one line each) and then
// waits for ever, as a real tool stuck at a prompt does. Tests use it to show that a run ends
// such a tool, and whatever started it, at its bound, and that nothing of it is left running.
#pragma once

namespace standin {

// Returns at once when the variable is not set; otherwise never.
void NeverEndWhenAsked();

}  // namespace standin
