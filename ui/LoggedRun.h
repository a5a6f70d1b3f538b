// A run written to the run log from start to end: its start line (action, version, folder),
// its steps through Log(), and its result with the exit code it stands for.
#pragma once

#include <exception>
#include <string>

#include "common/portable/ExitCode.h"
#include "common/win/LogProgress.h"

namespace ui {

class LoggedRun {
 public:
  LoggedRun(pub::RunAction action, const std::string& version, const std::string& folder);
  LoggedRun(const LoggedRun&) = delete;
  LoggedRun& operator=(const LoggedRun&) = delete;

  pub::Progress& Log() { return progress_; }
  void Finish(pub::ExitCode code) { log_.Finished(pub::Now(), code); }
  const std::string& Path() const { return file_.Path(); }

 private:
  pub::RunLogFile file_;
  pub::RunLog log_;
  pub::LogProgress progress_;
};

// The exit code an error of a run stands for: no room, a missing or damaged package, a port
// held by another program, or a failure whose reason is in the log.
pub::ExitCode ExitCodeFor(const std::exception& error);

}  // namespace ui
