#include "setup/portable/RemovalTarget.h"

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"

namespace pub {
namespace {

// A drive ("C:", "C:\") or a share ("\\server\share") as a whole.
bool IsVolumeRoot(const std::string& folder) {
  if (folder.size() == 2 && folder[1] == ':') return true;
  if (folder.rfind("\\\\", 0) != 0) return false;
  const size_t server = folder.find('\\', 2);
  return server == std::string::npos || folder.find('\\', server + 1) == std::string::npos;
}

// Without any trailing '\' (a GBK trail byte 0x5C is no separator).
std::string Trimmed(std::string folder) {
  for (std::string shorter = WithoutTrailingBackslash(folder); shorter != folder; shorter = WithoutTrailingBackslash(folder))
    folder = shorter;
  return folder;
}

std::string Refusal(const std::string& folder, const std::string& why) {
  return "安装记录中的安装目录 " + folder + " " + why +
         "\r\n卸载没有进行：没有停止任何服务，没有删除任何文件，安装记录已保留。";
}

}  // namespace

bool NamesNoFolder(const std::string& recordedFolder) {
  const std::string folder = Trimmed(recordedFolder);
  return !IsVolumeRoot(folder) && !FolderPathProblem(folder).empty();
}

bool SameFolder(const std::string& a, const std::string& b) {
  return GbkUpperCase(Trimmed(a)) == GbkUpperCase(Trimmed(b));
}

std::string RemovalTargetProblem(const RemovalTargetFacts& facts) {
  const std::string folder = Trimmed(facts.recordedFolder);
  if (IsVolumeRoot(folder)) return Refusal(facts.recordedFolder, "是整个驱动器，不是安装目录。");
  if (!FolderPathProblem(folder).empty()) return Refusal(facts.recordedFolder, "不是以盘符开头的完整路径。");
  for (const std::string& system : facts.systemFolders)
    if (SameFolder(folder, system)) return Refusal(facts.recordedFolder, "是系统文件夹，不是安装目录。");
  if (!facts.uninstallerFolder.empty() && !SameFolder(folder, facts.uninstallerFolder))
    return Refusal(facts.recordedFolder,
                   "不是正在运行的卸载程序所属的安装目录 " + facts.uninstallerFolder + "。");
  if (!facts.holdsUninstaller || !facts.holdsPlacedFiles)
    return Refusal(facts.recordedFolder,
                   "中没有本安装程序放置的卸载程序 install\\Uninstall.exe 和已安装文件清单 install\\files.txt。"
                   "\r\n如果这是较早版本安装的目录，请先运行安装程序修复安装，然后再卸载。");
  return std::string();
}

}  // namespace pub
