// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-removedirectoryw
#include "common/portable/TreeDeleteGuard.h"
#include "common/win/FileTree.h"
#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"

namespace pub {
namespace {

// The listing already holds the attributes: only an entry that is read-only costs a call.
void ClearReadOnly(const wchar_t* name, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(name, FILE_ATTRIBUTE_NORMAL);
}

// Names every entry by its full path: the process current directory stays where it is, so
// commands started meanwhile never sit in a folder being deleted.
bool DeleteLevel(const std::wstring& folder, Progress* progress) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  // A link given as the folder itself: its target is not ours to empty.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
  walk::Listing listing(walk::JoinPath(folder, L"*"));
  if (!listing.Started()) return false;
  bool heldNothing = true;
  while (listing.Next()) {
    heldNothing = false;
    const WIN32_FIND_DATAW& entry = listing.Entry();
    const std::wstring path = walk::JoinPath(folder, entry.cFileName);
    if (listing.IsFolder()) {
      // A folder link (junction or symbolic link) is removed as a link: walking into it would
      // empty a folder that lies outside the tree.
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteLevel(path, progress);
        ClearReadOnly(path.c_str(), entry.dwFileAttributes);  // a read-only folder cannot be removed
      }
      RemoveDirectoryW(path.c_str());
      continue;
    }
    ClearReadOnly(path.c_str(), entry.dwFileAttributes);  // read-only files go too
    if (progress) {
      progress->Status(tk::FromWide(entry.cFileName));
      progress->Advance();
      walk::KeepResponsive();
    }
    DeleteFileW(path.c_str());
  }
  listing.Close();
  if (heldNothing) RemoveDirectoryW(folder.c_str());
  return true;
}

// The first entry under folder that will not go, as "path: reason"; "" when all went.
std::string FirstStuckEntry(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(walk::JoinPath(folder, L"*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = walk::JoinPath(folder, entry.cFileName);
      bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                      !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
      std::string stuck = isFolder ? FirstStuckEntry(path) : std::string();
      if (stuck.empty() && !isFolder) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) stuck = tk::FromWide(path) + "：" + tk::SysErrorMessage(GetLastError());
      }
      if (!stuck.empty()) {
        FindClose(find);
        return stuck;
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  if (RemoveDirectoryW(folder.c_str())) return std::string();
  DWORD error = GetLastError();
  return tk::FolderExists(folder) ? tk::FromWide(folder) + "：" + tk::SysErrorMessage(error) : std::string();
}

}  // namespace

std::string WhyFolderRemains(const std::string& folder) {
  std::wstring path = walk::AbsolutePath(tk::ToWide(walk::WithoutTrailingSeparator(folder)));
  if (IsRefusedTreeDeletePath(tk::FromWide(path)) || !tk::FolderExists(path)) return std::string();
  return FirstStuckEntry(path);
}

bool DeleteFolderTree(const std::string& folder, Progress* progress) {
  // Judged before and after the path is made absolute: "." or "" would otherwise become
  // whatever folder happens to be current.
  if (IsRefusedTreeDeletePath(folder)) return false;
  std::wstring path = walk::AbsolutePath(tk::ToWide(walk::WithoutTrailingSeparator(folder)));
  if (IsRefusedTreeDeletePath(tk::FromWide(path))) return false;
  bool listed = !tk::FolderExists(path) || DeleteLevel(path, progress);
  if (progress) progress->Flush();
  if (!listed) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryW(path.c_str()) != 0;
}

}  // namespace pub
