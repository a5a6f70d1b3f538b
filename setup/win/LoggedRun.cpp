#include "setup/win/LoggedRun.h"

#include "common/portable/ProcessValues.h"

namespace setup {

LoggedRun::LoggedRun(pub::RunAction action, const std::string& version, const std::string& folder)
    : file_(pub::Process().LogPath), log_(file_), progress_(log_) {
  log_.Started(pub::Now(), action, version, folder);
}

}  // namespace setup
