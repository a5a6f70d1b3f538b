// The folders of Windows and of its users that are never an install folder: a removal that
// treated one as its installation would delete what the machine or a person relies on.
#pragma once

#include <string>
#include <vector>

namespace pub {

// GBK full paths without a trailing '\': the Windows folder and its System32, the Program
// Files folders, ProgramData, the profiles' folder and every profile Windows lists, and the
// known folders of this account and of all users (Desktop, Documents, Downloads, AppData ...).
// A folder whose name GBK cannot hold is left out: no record written by this program names it.
std::vector<std::string> SystemFolders();

// The system folder, where cmd.exe and net.exe are (System32; SysWOW64 to a 32-bit program on
// 64-bit Windows), GBK, without a trailing '\'. "" when the system does not say: a command
// named from it is then no full path, and is refused rather than looked up.
std::string SystemDirectory();

// The folder as the file system names it: made absolute, short (8.3) components written out
// long when the folder exists. GBK in and out; the text itself when it cannot be converted.
std::string LongFolderName(const std::string& folder);
// The same in UTF-16: absolute, long where it exists; the path as given when that fails.
std::wstring LongFolderName(const std::wstring& folder);

}  // namespace pub
