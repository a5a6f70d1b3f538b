// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-copyfilew
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
#include <shlobj.h>

#include "common/win/FileTree.h"
#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

// How a walk puts files in place. A moving walk turns to copying for the rest of its files
// once the system says the two folders are on different volumes.
enum class Transfer { Copy, Move };

void AddFailure(std::vector<CopyFailure>& failures, const std::wstring& target, DWORD code) {
  failures.push_back({tk::FromWide(target), code, tk::SysErrorMessage(code)});
}

// Creates the folder with any missing parents; a folder that cannot be made is a failure,
// as nothing can be copied into it.
void MakeFolder(const std::wstring& folder, std::vector<CopyFailure>& failures) {
  int status = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  // "Already exists" may mean a file of that name stands in the way.
  if (!tk::FolderExists(folder)) AddFailure(failures, folder, status != ERROR_SUCCESS ? status : ERROR_PATH_NOT_FOUND);
}

void ReportFile(Progress* progress, const std::wstring& target) {
  if (progress) {
    const std::string targetText = tk::FromWide(target);
    progress->Advance();
    progress->Status(targetText);
    progress->Line("copy:" + targetText);
  }
  walk::KeepResponsive();
}

// Puts the file at source at target, replacing what is there; ERROR_SUCCESS or the system's
// error code. A file that cannot be moved (one in use, a target that will not be replaced) is
// copied instead, so it fails, if it does, for the reason a copy gives.
DWORD PutFile(const std::wstring& source, const std::wstring& target, Transfer& transfer) {
  if (transfer == Transfer::Move) {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return ERROR_SUCCESS;
    if (GetLastError() == ERROR_NOT_SAME_DEVICE) transfer = Transfer::Copy;
  }
  return CopyFileW(source.c_str(), target.c_str(), FALSE) ? ERROR_SUCCESS : GetLastError();
}

// Reports every file below folder, in listing order, as the per-file walk reports one it put
// in place.
void ReportTree(const std::wstring& folder, Progress* progress) {
  walk::Listing listing(walk::JoinPath(folder, L"*.*"));
  while (listing.Next()) {
    std::wstring path = walk::JoinPath(folder, listing.Entry().cFileName);
    if (listing.IsFolder())
      ReportTree(path, progress);
    else
      ReportFile(progress, path);
  }
}

// Within one volume, a folder whose destination is not there yet is put in place whole, by
// one rename, and its files are then reported one by one. False, with nothing changed, when
// the destination exists or the rename is refused (a file inside in use, a missing parent):
// the per-file walk then takes the folder.
bool MoveWholeFolder(const std::wstring& source, const std::wstring& destination, Progress* progress) {
  if (GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  if (!MoveFileExW(source.c_str(), destination.c_str(), 0)) return false;
  ReportTree(destination, progress);
  return true;
}

// Makes the folder that holds path, with any missing parents; true when it is there.
bool MakeParent(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  if (cut == std::wstring::npos || cut < 3) return true;  // a drive root is there or not at all
  std::wstring parent = path.substr(0, cut);
  return tk::FolderExists(parent) || SHCreateDirectoryExW(nullptr, parent.c_str(), nullptr) == ERROR_SUCCESS;
}

// True when the level and everything below it arrived whole. Every entry is named by its full
// path, as the delete walk names them: the process current folder is never moved.
bool CopyLevel(const std::wstring& source, const std::wstring& destination, Progress* progress, Transfer& transfer,
               std::vector<CopyFailure>& failures) {
  const size_t failuresBefore = failures.size();
  walk::Listing listing(walk::JoinPath(source, L"*.*"));
  // The destination is made before the listing's outcome is looked at.
  if (!tk::FolderExists(destination)) MakeFolder(destination, failures);
  if (!listing.Started()) {
    AddFailure(failures, destination, listing.Error());
    return false;
  }
  while (listing.Next()) {
    const wchar_t* name = listing.Entry().cFileName;
    if (listing.IsFolder()) {
      std::wstring subFolder = walk::JoinPath(destination, name);
      if (transfer == Transfer::Move && MoveWholeFolder(walk::JoinPath(source, name), subFolder, progress)) continue;
      // A sub-folder that cannot be made is recorded once, by its own level, which tries again.
      if (!tk::FolderExists(subFolder)) SHCreateDirectoryExW(nullptr, subFolder.c_str(), nullptr);
      CopyLevel(walk::JoinPath(source, name), subFolder, progress, transfer, failures);
      continue;
    }
    std::wstring target = walk::JoinPath(destination, name);
    const DWORD code = PutFile(walk::JoinPath(source, name), target, transfer);
    if (code != ERROR_SUCCESS) AddFailure(failures, target, code);
    ReportFile(progress, target);
  }
  // A listing that broke off early leaves files behind without a word otherwise.
  if (listing.Error() != ERROR_NO_MORE_FILES) AddFailure(failures, destination, listing.Error());
  listing.Close();
  return failures.size() == failuresBefore;
}

// The walk from absolute folders: a move first tries the whole folder at once.
bool WalkLevel(const std::wstring& from, const std::wstring& to, Transfer transfer, Progress* progress,
               std::vector<CopyFailure>* failures) {
  std::vector<CopyFailure> ownFailures;
  bool whole = (transfer == Transfer::Move && tk::FolderExists(from) && MakeParent(to) &&
                MoveWholeFolder(from, to, progress)) ||
               CopyLevel(from, to, progress, transfer, failures ? *failures : ownFailures);
  if (progress) progress->Flush();
  return whole;
}

// The walk of a whole tree, from paths as callers give them.
bool TransferTree(const std::string& source, const std::string& destination, Transfer transfer, Progress* progress,
                  std::vector<CopyFailure>* failures) {
  std::string from = walk::WithoutTrailingSeparator(source);
  std::string to = walk::WithoutTrailingSeparator(destination);
  if (from.empty() || to.empty()) return false;
  const std::wstring fromPath = walk::AbsolutePath(tk::ToWide(from));
  // A source that is no folder is an error of the caller's, raised before anything is made.
  const DWORD attributes = GetFileAttributesW(fromPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const DWORD code = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY;
    throw tk::EInOutError(
        tk::Format("无法读取文件夹 \"%s\"。%s", from.c_str(), tk::SysErrorMessage(code).c_str()), code);
  }
  return WalkLevel(fromPath, walk::AbsolutePath(tk::ToWide(to)), transfer, progress, failures);
}

}  // namespace

bool CopyFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                    std::vector<CopyFailure>* failures) {
  return TransferTree(source, destination, Transfer::Copy, progress, failures);
}

bool MoveFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                    std::vector<CopyFailure>* failures) {
  return TransferTree(source, destination, Transfer::Move, progress, failures);
}

}  // namespace pub
