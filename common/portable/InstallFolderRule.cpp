#include "common/portable/InstallFolderRule.h"

#include <cstring>

#include "common/portable/GbkText.h"
#include "common/portable/PathText.h"
#include "common/portable/TreeDeleteGuard.h"

namespace pub {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Where the first single-byte character of folder that is one of set stands, or npos.
// Double-byte characters are skipped whole: a trail byte may have the value of '|' or '^'.
size_t FindSingleByte(const std::string& folder, const char* set) {
  for (size_t i = 0; i < folder.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folder[i]);
    if (IsGbkLeadByte(c) && i + 1 < folder.size()) {
      ++i;
      continue;
    }
    if (c != 0 && std::strchr(set, c)) return i;
  }
  return std::string::npos;
}

// Characters Windows refuses in a file name; ':' is allowed only right after the drive letter.
// Control characters are never part of a double-byte one.
bool HasForbiddenCharacter(const std::string& folder) {
  for (unsigned char c : folder)
    if (c < 0x20) return true;
  return FindSingleByte(folder, "<>\"/|?*") != std::string::npos || folder.find(':', 2) != std::string::npos;
}

// The install run writes the folder into the bundle's batch files as "set NAME=folder\...",
// unquoted. cmd splits such a line at '&', drops or expands at '%', '^' and '!', and ends a
// bracketed block at ')'; '<', '>', '|' and '"' never get here, Windows refuses them first.
constexpr const char* kBatchSpecial = "&%^!()";

}  // namespace

std::string FolderPathProblem(const std::string& text) {
  const std::string folder = WithoutTrailingBackslash(text);
  if (folder.empty()) return "请输入Quarn软件的安装目录。";
  const size_t characters = GbkCharacterCount(folder);
  if (characters > kMaxFolderCharacters)
    return "安装目录太长（" + std::to_string(characters) + " 个字符，最多 " + std::to_string(kMaxFolderCharacters) +
           " 个），请另选一个安装目录。";
  const char* absolute = "请输入完整的安装目录，以盘符开头，例如 c:\\quarn。";
  if (folder.size() < 4 || !IsDriveLetter(folder[0]) || folder[1] != ':' || folder[2] != '\\') return absolute;
  if (HasForbiddenCharacter(folder)) return "安装目录中包含Windows不允许的字符，请从新输入。";
  // Drive roots, and components such as ".." that Windows would resolve elsewhere.
  if (IsRefusedTreeDeletePath(folder)) return absolute;
  return "";
}

std::string InstallFolderProblem(const std::string& folder) {
  std::string problem = FolderPathProblem(folder);
  if (!problem.empty()) return problem;
  const size_t special = FindSingleByte(folder, kBatchSpecial);
  if (special != std::string::npos)
    return "安装目录中包含字符“" + folder.substr(special, 1) + "”，基础软件的批处理文件无法使用这样的目录，请另选一个安装目录。";
  return "";
}

FolderCharacterFault FirstFolderCharacterFault(const std::string& folder) {
  for (unsigned char c : folder) {
    if (c > 128) return FolderCharacterFault::DoubleByte;
    if (c == ' ') return FolderCharacterFault::Blank;
  }
  return FolderCharacterFault::None;
}

}  // namespace pub
