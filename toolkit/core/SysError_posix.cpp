#include <cerrno>
#include <cstring>

#include "toolkit/core/Errors.h"

namespace tk {

std::string SysErrorMessage(uint32_t errorCode) { return std::strerror(static_cast<int>(errorCode)); }
uint32_t LastSysError() { return static_cast<uint32_t>(errno); }

}  // namespace tk
