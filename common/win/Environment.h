// Persistent environment variables: string values in the per-user or the system-wide
// environment key, and the broadcast that tells the top-level windows about a change.
#pragma once

#include <string>

namespace pub {

// Writes name = value when force is on or the variable is not there yet, also into this
// program's own environment (commands started afterwards see it), and broadcasts the change.
// True only when the value was written; false when the key cannot be opened or the value
// exists and force is off (then nothing is touched and nothing sent). A failed write raises
// tk::ERegistryException.
bool SetEnvVariable(const std::string& name, const std::string& value, bool force, bool perUser);

// The variable's stored value; false when it is not there or the key cannot be opened.
bool ReadEnvVariable(const std::string& name, bool perUser, std::string* value);

// Whether the system-wide variable holds exactly folder, letter case aside: a value someone
// has changed since is no longer ours to remove.
bool SystemVariableHolds(const std::string& name, const std::string& folder);

// Deletes the variable's value when there is one and broadcasts the change either way. True
// when the environment key could be opened. This program's own environment is left alone.
bool RemoveEnvVariable(const std::string& name, bool perUser);

}  // namespace pub
