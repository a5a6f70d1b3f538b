// Asking the service control manager about a service.
#pragma once

#include <cstdint>
#include <string>

namespace pub {

// Whether a service of that name is registered.
bool ServiceExists(const std::string& name);

// The process of the service while it runs (or starts or stops); 0 when it is stopped or not
// registered.
uint32_t ServiceProcessId(const std::string& name);

}  // namespace pub
