#include "common/portable/RecordState.h"

#include "common/portable/InstallFolderRule.h"

namespace pub {

RecordState JudgeRecord(bool versionKeyExists, const std::string& recordedFolder) {
  if (!versionKeyExists) return RecordState::Absent;
  // Judged as a path only: a folder recorded before the batch-file rule is still where the
  // installation is.
  return FolderPathProblem(recordedFolder).empty() ? RecordState::Whole : RecordState::Damaged;
}

}  // namespace pub
