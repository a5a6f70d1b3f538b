// Folder links as a person who wants to mislead an administrator's program plants them: a
// symbolic link on Windows, a link of the Unix file system under Wine (which Windows programs
// there see as a reparse point, as Windows shows a junction).
#pragma once

#include <string>

namespace e2e {

// Makes link (which must not exist) lead to the existing folder target. False when this
// machine cannot make one.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);
// Removes the link itself, never what it leads to. True when it is gone.
bool RemoveFolderLink(const std::wstring& link);

}  // namespace e2e
