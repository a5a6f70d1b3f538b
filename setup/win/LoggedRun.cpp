#include "setup/win/LoggedRun.h"

namespace setup {

LoggedRun::LoggedRun(pub::RunAction action, const std::string& version, const std::string& folder,
                     const RunFolders& folders)
    : file_(folders), log_(file_), progress_(log_) {
  log_.Started(pub::Now(), action, version, folder);
}

}  // namespace setup
