// What the wizard accepts as an install folder: an absolute path on a drive ("X:\..."), not
// the drive itself. Anything else would be resolved against whatever the current folder
// happens to be, at install and again, differently, at removal.
#pragma once

#include <string>

namespace pub {

// The install folder offered when nothing is recorded; its configuration needs no patching.
constexpr const char* kDefaultInstallFolder = "c:\\quarn";
// The message for a folder whose name GBK cannot hold (the box's text converts only with loss):
// the wizard would work on a name with '?' in it.
constexpr const char* kInstallFolderNotGbk =
    "安装目录的名称中含有安装程序无法处理的字符（例如韩文或表情符号），请另选一个安装目录。";

// The longest install folder, in characters: Windows creates a folder only when its path
// leaves room for an 8.3 name within MAX_PATH (248 characters with the terminator), so a longer
// one could never have been made or filled.
constexpr size_t kMaxFolderCharacters = 247;

// The message that tells the user why folder (GBK, one trailing '\' allowed) cannot be
// installed into, or "" when it can: a usable path (below) that the bundle's batch files can
// also carry.
std::string InstallFolderProblem(const std::string& folder);

// The folder box's own rule, before the one above: the first double-byte character or blank
// decides. The wizard removes blanks and refuses the rest; an unattended run refuses both.
enum class FolderCharacterFault { None, DoubleByte, Blank };
FolderCharacterFault FirstFolderCharacterFault(const std::string& folder);

// The same for a folder that only has to be a usable path: absolute, on a drive, not the drive
// itself, no longer than kMaxFolderCharacters, with no character Windows refuses. A recorded folder is judged by this alone: an
// installation made before the batch-file rule must still be found and removed.
std::string FolderPathProblem(const std::string& folder);

}  // namespace pub
