#include "setup/portable/UninstallerRemovalTask.h"

#include <cstdlib>

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "setup/portable/RemovalTarget.h"

namespace pub {
namespace {

constexpr const char* kUninstallerTail = "\\install\\Uninstall.exe";
constexpr size_t kTokenLength = 32;

bool IsToken(const std::string& text) {
  if (text.size() != kTokenLength) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

bool IsProcessId(const std::string& text) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::string FormatRemovalTask(const UninstallerRemovalTask& task) {
  return std::to_string(task.waitFor) + "|" + task.token + "|" + task.uninstaller;
}

std::optional<UninstallerRemovalTask> ParseRemovalTask(const std::string& text) {
  const size_t first = text.find('|');
  const size_t second = first == std::string::npos ? std::string::npos : text.find('|', first + 1);
  if (second == std::string::npos) return std::nullopt;
  UninstallerRemovalTask task;
  const std::string id = text.substr(0, first);
  task.token = text.substr(first + 1, second - first - 1);
  task.uninstaller = text.substr(second + 1);
  if (!IsProcessId(id) || !IsToken(task.token) || task.uninstaller.empty()) return std::nullopt;
  const unsigned long long waitFor = std::strtoull(id.c_str(), nullptr, 10);
  if (waitFor == 0 || waitFor > 0xFFFFFFFFull) return std::nullopt;
  task.waitFor = static_cast<uint32_t>(waitFor);
  return task;
}

std::string RemovalCopyFolderName(uint32_t waitFor) { return "quarn-uninstall-" + std::to_string(waitFor); }

std::string RemovalCopyFileName(const std::string& token) { return token + ".exe"; }

bool IsScheduledCopy(const UninstallerRemovalTask& task, const RemovalTaskFacts& facts) {
  return facts.ownFolderPrivate && GbkUpperCase(facts.ownFileName) == GbkUpperCase(RemovalCopyFileName(task.token)) &&
         GbkUpperCase(facts.ownFolderName) == GbkUpperCase(RemovalCopyFolderName(task.waitFor));
}

std::string RemovalTaskProblem(const UninstallerRemovalTask& task, const RemovalTaskFacts& facts) {
  const std::string& path = task.uninstaller;
  const std::string tail = kUninstallerTail;
  if (path.size() <= tail.size() || GbkUpperCase(path.substr(path.size() - tail.size())) != GbkUpperCase(tail))
    return path + " 不是安装目录中的卸载程序（install\\Uninstall.exe），没有删除。";
  const std::string installFolder = path.substr(0, path.size() - tail.size());
  if (!FolderPathProblem(installFolder).empty() || NamesNoFolder(installFolder))
    return path + " 不在一个完整的安装目录中，没有删除。";
  // A record that names no readable folder may still name this one.
  if (facts.recordExists && (facts.recordedFolder.empty() || SameFolder(facts.recordedFolder, installFolder)))
    return "安装记录仍然指向 " + installFolder + "，卸载程序 " + path + " 没有删除。";
  if (facts.pathHoldsLink) return path + " 经过一个链接，没有删除。";
  return std::string();
}

}  // namespace pub
