// What start-up settles once for the whole process: the folders the program works in and where
// its run log goes. Only the program's entry (app/) reads them: it hands them on as values, to
// the wizard window and in every run's plan (scripts/check-layers keeps it so). Everything a run
// learns travels in its results.
#pragma once

#include <string>

namespace pub {

struct ProcessValues {
  std::string SetupFolder;    // folder of the running executable, ends in '\'
  std::string StagingFolder;  // temporary folder + "quarne\", ends in '\'
  std::wstring LogPath;       // the run log as given (any path Windows can hold), L"" for the default one
};

ProcessValues& Process();

}  // namespace pub
