// Messages of the stand-in tools: a console shows them as they are; a pipe or file gets UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

void PrintLine(const std::wstring& text);
// To stderr, prefixed with the program's name.
void PrintError(const std::wstring& text);
// The system's text for an error code, followed by the code itself.
std::wstring SystemMessage(DWORD code);
// The full path of the running program, however long.
std::wstring OwnPath();

}  // namespace standin
