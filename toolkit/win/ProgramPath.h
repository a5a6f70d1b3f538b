// The running program's own file, as a UTF-16 path (names GBK cannot hold included).
#pragma once

#include <string>

namespace tk {

// Empty when the system cannot tell.
std::wstring ProgramPath();

}  // namespace tk
