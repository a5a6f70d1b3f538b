// The program's own RCDATA resources: texts and pictures built into setup.exe.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// The bytes of an RCDATA resource of the program; empty when there is none of that name.
// They stay valid as long as the program runs.
std::string_view ResourceBytes(const wchar_t* resourceName);

// A UTF-8 text resource of the program, as GBK; EInvalidOperation when it is missing.
std::string LoadTextResource(const wchar_t* resourceName);

}  // namespace tk
