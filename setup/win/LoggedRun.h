// A run written to the run log from start to end: its start line (action, version, folder),
// its steps through Log(), and its result with the exit code it stands for.
#pragma once

#include <string>

#include "common/portable/ExitCode.h"
#include "setup/win/LogProgress.h"

namespace setup {

class LoggedRun {
 public:
  // folders: where the log goes (RunLogFile).
  LoggedRun(pub::RunAction action, const std::string& version, const std::string& folder,
            const RunFolders& folders);
  LoggedRun(const LoggedRun&) = delete;
  LoggedRun& operator=(const LoggedRun&) = delete;

  pub::Progress& Log() { return progress_; }
  void Finish(pub::ExitCode code) { log_.Finished(pub::Now(), code); }

 private:
  pub::RunLogFile file_;
  pub::RunLog log_;
  pub::LogProgress progress_;
};

}  // namespace setup
