#include "ui/LoggedRun.h"

#include "common/portable/ProcessValues.h"
#include "ui/InstallEngine.h"

namespace ui {

LoggedRun::LoggedRun(pub::RunAction action, const std::string& version, const std::string& folder)
    : file_(pub::Process().LogPath), log_(file_), progress_(log_) {
  log_.Started(pub::Now(), action, version, folder);
}

pub::ExitCode ExitCodeFor(const std::exception& error) {
  if (dynamic_cast<const NotEnoughSpace*>(&error)) return pub::ExitCode::DiskFull;
  if (dynamic_cast<const PackageProblem*>(&error)) return pub::ExitCode::PackageProblem;
  if (dynamic_cast<const PortTaken*>(&error)) return pub::ExitCode::PortTaken;
  return pub::ExitCode::Failed;
}

}  // namespace ui
