// Where a run works, as start-up settled it for the whole process. The program's entry (app/)
// hands these on as values: to the wizard window when it makes it, and to every run in its plan.
#pragma once

#include <string>

namespace setup {

struct RunFolders {
  std::string setupFolder;    // the running program's folder, where Setup.pak lies; ends in '\'
  std::string stagingFolder;  // temporary folder + "quarne\", where the package is unpacked; ends in '\'
  std::wstring logPath;       // the run log as given (any path Windows can hold), L"" for the default one
};

}  // namespace setup
