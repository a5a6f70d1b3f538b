#include "setup/portable/UnattendedInstallPlan.h"

#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "setup/portable/RecordState.h"
#include "setup/portable/RemovalTarget.h"

namespace pub {
namespace {

// The wizard's folder box removes blanks and refuses double-byte characters, and says so; an
// unattended run has nobody to tell, so it refuses both.
std::string CommandFolderProblem(const std::string& folder) {
  const std::string named = "（/D=" + folder + "）";
  switch (FirstFolderCharacterFault(folder)) {
    case FolderCharacterFault::DoubleByte:
      return "安装目录中不能包含汉字等字符" + named;
    case FolderCharacterFault::Blank:
      return "安装目录中不能包含空格" + named;
    case FolderCharacterFault::None:
      break;
  }
  const std::string problem = InstallFolderProblem(folder);
  return problem.empty() ? "" : problem + named;
}

UnattendedInstallPlan Refused(const std::string& reason) {
  UnattendedInstallPlan plan;
  plan.error = reason;
  return plan;
}

}  // namespace

UnattendedInstallPlan PlanUnattendedInstall(const InstallationRecordReading& record, const std::string& commandFolder) {
  if (!commandFolder.empty()) {
    std::string problem = CommandFolderProblem(commandFolder);
    if (!problem.empty()) return Refused(problem);
  }
  // The wizard offers no repair of a damaged record; here the caller may say where it is.
  if (record.state == RecordState::Damaged && commandFolder.empty())
    return Refused("安装记录已损坏：" + record.damage +
                   "无法修复安装。请用 /D=目录 指明要修复的安装目录，或先用 /uninstall 删除这个记录。");
  UnattendedInstallPlan plan;
  plan.repair = record.Exists();
  // A repair goes into the recorded folder, as in the wizard, where it cannot be changed.
  if (record.state == RecordState::Whole) {
    const std::string& recordedFolder = record.folder;
    if (!commandFolder.empty() && !SameFolder(commandFolder, recordedFolder))
      return Refused("Quarn已经安装在 " + WithoutTrailingBackslash(recordedFolder) +
                     "，修复安装只能使用这个目录（/D=" + commandFolder + "）。要换目录，请先卸载。");
    // Recorded before the batch-file rule: found and removable, but not installed into again.
    const std::string problem = InstallFolderProblem(recordedFolder);
    if (!problem.empty()) return Refused(problem + "（安装记录中的目录：" + WithoutTrailingBackslash(recordedFolder) + "；要换目录，请先卸载）");
    plan.folder = WithoutTrailingBackslash(recordedFolder);
    return plan;
  }
  // No record, or a damaged one repaired where the caller says.
  plan.folder = WithoutTrailingBackslash(commandFolder.empty() ? std::string(kDefaultInstallFolder) : commandFolder);
  return plan;
}

UnattendedInstallPlan PlanUnattendedInstall(bool recordExists, const std::string& recordedFolder,
                                            const std::string& commandFolder) {
  return PlanUnattendedInstall(JudgeTextRecord(recordExists, recordedFolder), commandFolder);
}

}  // namespace pub
