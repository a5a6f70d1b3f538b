#include "common/portable/InstallFolderRule.h"

#include <cstring>

#include "common/portable/GbkText.h"
#include "common/portable/PathText.h"
#include "common/portable/TreeDeleteGuard.h"

namespace pub {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Characters Windows refuses in a file name; ':' is allowed only right after the drive letter.
bool HasForbiddenCharacter(const std::string& folder) {
  for (size_t i = 0; i < folder.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folder[i]);
    if (IsGbkLeadByte(c) && i + 1 < folder.size()) {
      ++i;
      continue;
    }
    if (c < 0x20 || std::strchr("<>\"/|?*", c) || (c == ':' && i != 1)) return true;
  }
  return false;
}

}  // namespace

std::string InstallFolderProblem(const std::string& text) {
  const std::string folder = WithoutTrailingBackslash(text);
  if (folder.empty()) return "请输入Quarn软件的安装目录。";
  const char* absolute = "请输入完整的安装目录，以盘符开头，例如 c:\\quarn。";
  if (folder.size() < 4 || !IsDriveLetter(folder[0]) || folder[1] != ':' || folder[2] != '\\') return absolute;
  if (HasForbiddenCharacter(folder)) return "安装目录中包含Windows不允许的字符，请从新输入。";
  // Drive roots, and components such as ".." that Windows would resolve elsewhere.
  if (IsRefusedTreeDeletePath(folder)) return absolute;
  return "";
}

}  // namespace pub
