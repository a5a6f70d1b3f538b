// Asking the service control manager about a service.
#pragma once

#include <string>

namespace pub {

// Whether a service of that name is registered.
bool ServiceExists(const std::string& name);

}  // namespace pub
