#include "app/LastGuard.h"

#include <windows.h>

#include <exception>

#include "app/StartUp.h"
#include "common/portable/ExitCode.h"
#include "setup/win/LogProgress.h"
#include "toolkit/win/Dialogs.h"

namespace app {
namespace {

std::string Describe(const std::string& what) {
  return "安装程序因没有处理的错误而结束：" + (what.empty() ? std::string("未知错误") : what);
}

// The log is opened for each line: this works whatever state the run was left in.
void Log(const std::string& text) {
  try {
    pub::RunLogFile file(SettledFolders());
    pub::RunLog log(file);
    log.Note(pub::Now(), text);
    log.Finished(pub::Now(), pub::ExitCode::Failed);
  } catch (...) {
    // Nothing more can be said about an error whose report failed.
  }
}

[[noreturn]] void EndOnTerminate() {
  std::string what;
  try {
    if (std::exception_ptr current = std::current_exception()) std::rethrow_exception(current);
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
  }
  Log(Describe(what));
  ExitProcess(static_cast<UINT>(pub::ToInt(pub::ExitCode::Failed)));
}

}  // namespace

int EndAfterEscapedError(const std::string& what, bool windowed) {
  const std::string text = Describe(what);
  Log(text);
  if (windowed) {
    try {
      tk::ShowError(text);
    } catch (...) {
    }
  }
  return pub::ToInt(pub::ExitCode::Failed);
}

void GuardTerminate() { std::set_terminate(EndOnTerminate); }

}  // namespace app
