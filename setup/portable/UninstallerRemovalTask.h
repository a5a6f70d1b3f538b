// What the uninstaller's copy in the temporary folder is told to remove, and whether it may.
// The task travels in an environment variable, which any start of the program may carry: it
// is honoured only by the copy it was written for (the copy's file is named after a random
// token the task carries, in the folder made for the waiting process), and only for an
// install folder's install\Uninstall.exe that no record names any more. Anything else is
// ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pub {

struct UninstallerRemovalTask {
  uint32_t waitFor = 0;     // the uninstaller's process, which must end first
  std::string token;        // 32 lower-case hexadecimal digits, fresh for each removal
  std::string uninstaller;  // install folder + "\install\Uninstall.exe" (GBK)
};

// "pid|token|path", and back; nullopt for any text that is not such a task.
std::string FormatRemovalTask(const UninstallerRemovalTask& task);
std::optional<UninstallerRemovalTask> ParseRemovalTask(const std::string& text);

// The copy's folder in the temporary folder, and its file within it.
std::string RemovalCopyFolderName(uint32_t waitFor);
std::string RemovalCopyFileName(const std::string& token);

// What the copy finds of itself and of the named file before it acts.
struct RemovalTaskFacts {
  std::string ownFileName;    // this program's file name
  std::string ownFolderName;  // the name of the folder it runs from
  // Its folder is no link and belongs to this account, SYSTEM or the administrators.
  bool ownFolderPrivate = false;
  bool recordExists = false;
  std::string recordedFolder;  // the install folder the record names now; "" when unreadable
  // The install folder, its install\ or the file itself is a link.
  bool pathHoldsLink = false;
};

// The start is the copy the task was written for.
bool IsScheduledCopy(const UninstallerRemovalTask& task, const RemovalTaskFacts& facts);

// Why the named file must stay (GBK, for the log); "" when the copy may remove it.
std::string RemovalTaskProblem(const UninstallerRemovalTask& task, const RemovalTaskFacts& facts);

}  // namespace pub
