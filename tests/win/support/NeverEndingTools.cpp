#include "tests/win/support/NeverEndingTools.h"

#include <sstream>

#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"

namespace testing_support {

NeverEndingTools::NeverEndingTools(const std::string& pidFile) : pidFile_(pidFile) {
  DeleteFileW(tk::ToWide(pidFile_).c_str());
  SetEnvironmentVariableW(L"QUARN_STANDIN_NEVER_END", tk::ToWide(pidFile_).c_str());
}

NeverEndingTools::~NeverEndingTools() {
  SetEnvironmentVariableW(L"QUARN_STANDIN_NEVER_END", nullptr);
  StillRunning();
}

std::vector<DWORD> NeverEndingTools::Started() const {
  std::vector<DWORD> ids;
  std::istringstream lines(PathExists(pidFile_) ? ReadBytes(pidFile_) : std::string());
  for (DWORD id = 0; lines >> id;) ids.push_back(id);
  return ids;
}

std::vector<DWORD> NeverEndingTools::StillRunning() const {
  std::vector<DWORD> running;
  for (DWORD id : Started()) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (!process) continue;
    if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) {
      running.push_back(id);
      TerminateProcess(process, 1);
    }
    CloseHandle(process);
  }
  return running;
}

}  // namespace testing_support
