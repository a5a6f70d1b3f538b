// setup.exe /S and Uninstall.exe /S: an install, repair or removal with no window and no
// message box, its story in the run log and its result in the exit code.
#pragma once

#include "common/portable/CommandLine.h"
#include "common/portable/ExitCode.h"

namespace app {

pub::ExitCode RunUnattendedInstall(const pub::CommandLine& commandLine);
pub::ExitCode RunUnattendedUninstall();

}  // namespace app
