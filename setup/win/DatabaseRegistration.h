// The final page registers the database service once more, as the bundle's own set-up did.
// The install run has registered it already, so "already registered" is the answer expected:
// what counts is that the service is registered afterwards. The installed tool is run by its
// full path, in its own folder; nothing is looked up through this program's folders.
#pragma once

#include <string>

#include "setup/portable/CommandBounds.h"
#include "setup/portable/RunFolders.h"

namespace setup {

struct DatabaseRegistration {
  bool registered = true;  // the service is registered (or no database was installed)
  std::string problem;     // GBK, for a box; "" when registered
};

// Runs the installed installFolder\MySQL5\bin\mysqld-nt.exe --install mysqlquarn, when the
// database was installed, for at most its bound, and notes the command and what came of it in
// the run log that folders name.
DatabaseRegistration RegisterDatabaseAgain(const std::string& installFolder, const RunFolders& folders,
                                           const pub::CommandBounds& bounds = pub::CommandBounds());

}  // namespace setup
