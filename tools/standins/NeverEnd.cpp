#include "tools/standins/NeverEnd.h"

#include <windows.h>

#include <string>

#include "tools/standins/TestNotes.h"

namespace standin {

void NeverEndWhenAsked() {
  if (!AppendNote(L"QUARN_STANDIN_NEVER_END", std::to_string(GetCurrentProcessId()))) return;
  Sleep(INFINITE);
}

}  // namespace standin
