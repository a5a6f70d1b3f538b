// Notes the stand-in tools leave for tests that ask for them, each a line appended to the file
// an environment variable names. Tools started side by side take turns at the file.
#pragma once

#include <string>

namespace standin {

// Appends line and CR LF to the file `variable` names; false when it names none.
bool AppendNote(const wchar_t* variable, const std::string& line);

// With QUARN_STANDIN_CONSOLES naming a file: how this tool's console was given to it, as
// "<name>: shown" (its window is on the screen) or "<name>: no window".
void NoteConsoleWhenAsked(const std::string& name);

}  // namespace standin
