// Registering and unregistering a service whose program is the running executable, and the
// per-service settings kept beside it in the registry.
#pragma once

#include <string>

namespace standin {

// Service names are registry key names: not empty, no slashes, and no quotes (the name goes
// quoted onto the service's command line).
bool IsValidServiceName(const std::wstring& name);

// Creates the service `name`, own process, started on demand, whose command line is this
// executable's full path, quoted, followed by `--service "name"`. An existing service is
// left as it is. Returns the exit code: 0, or 1 after a message on stderr.
int InstallSelfAsService(const std::wstring& name);

// Stops the service if it runs, then deletes it. Returns 0, or 1 after a message on stderr.
int RemoveService(const std::wstring& name);

// Values under the service's key, subkey Parameters. Reading a missing value gives "".
bool WriteServiceParameter(const std::wstring& service, const std::wstring& value, const std::wstring& data);
std::wstring ReadServiceParameter(const std::wstring& service, const std::wstring& value);

}  // namespace standin
