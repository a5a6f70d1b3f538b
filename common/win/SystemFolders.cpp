// https://learn.microsoft.com/windows/win32/shell/knownfolderid
#include "common/win/SystemFolders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "common/portable/PathText.h"
#include "toolkit/core/CodePage.h"

namespace pub {
namespace {

void Add(std::vector<std::string>* folders, const std::wstring& wide) {
  std::string gbk;
  if (!wide.empty() && tk::FromWideChecked(wide, &gbk)) folders->push_back(WithoutTrailingBackslash(gbk));
}

void AddKnown(std::vector<std::string>* folders, REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) Add(folders, path);
  CoTaskMemFree(path);
}

// Every profile Windows keeps, as its profile list names them (read-only, in the system's own
// view of the registry).
void AddProfiles(std::vector<std::string>* folders) {
  HKEY list = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                    KEY_READ | KEY_WOW64_64KEY, &list) != ERROR_SUCCESS)
    return;
  wchar_t sid[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(list, i, sid, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = sizeof path - sizeof(wchar_t);
    // Expanded when it is REG_EXPAND_SZ, as it usually is; a value of another type is skipped.
    if (RegGetValueW(list, sid, L"ProfileImagePath", RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS) {
      std::string gbk;
      if (tk::FromWideChecked(path, &gbk)) folders->push_back(LongFolderName(gbk));
    }
  }
  RegCloseKey(list);
}

}  // namespace

std::wstring LongFolderName(const std::wstring& folder) {
  wchar_t full[32768];
  DWORD length = GetFullPathNameW(folder.c_str(), 32768, full, nullptr);
  if (length == 0 || length >= 32768) return folder;
  std::wstring path(full, length);
  length = GetLongPathNameW(path.c_str(), full, 32768);
  return length > 0 && length < 32768 ? std::wstring(full, length) : path;
}

std::string LongFolderName(const std::string& folder) {
  std::string gbk;
  return tk::FromWideChecked(LongFolderName(tk::ToWide(folder)), &gbk) ? WithoutTrailingBackslash(gbk) : folder;
}

std::string SystemDirectory() {
  wchar_t path[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH + 1);
  std::string gbk;
  if (length == 0 || length > MAX_PATH || !tk::FromWideChecked(std::wstring(path, length), &gbk)) return std::string();
  return WithoutTrailingBackslash(gbk);
}

std::vector<std::string> SystemFolders() {
  std::vector<std::string> folders;
  wchar_t path[MAX_PATH + 1];
  if (UINT length = GetWindowsDirectoryW(path, MAX_PATH + 1); length && length <= MAX_PATH) Add(&folders, path);
  if (UINT length = GetSystemDirectoryW(path, MAX_PATH + 1); length && length <= MAX_PATH) Add(&folders, path);
  for (REFKNOWNFOLDERID id :
       {FOLDERID_Windows, FOLDERID_System, FOLDERID_SystemX86, FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86,
        FOLDERID_ProgramFilesX64, FOLDERID_ProgramFilesCommon, FOLDERID_ProgramFilesCommonX86, FOLDERID_ProgramData,
        FOLDERID_UserProfiles, FOLDERID_Public, FOLDERID_PublicDesktop, FOLDERID_PublicDocuments,
        FOLDERID_PublicDownloads, FOLDERID_Profile, FOLDERID_Desktop, FOLDERID_Documents, FOLDERID_Downloads,
        FOLDERID_Music, FOLDERID_Pictures, FOLDERID_Videos, FOLDERID_Favorites, FOLDERID_RoamingAppData,
        FOLDERID_LocalAppData, FOLDERID_LocalAppDataLow, FOLDERID_Programs, FOLDERID_StartMenu, FOLDERID_Startup,
        FOLDERID_CommonPrograms, FOLDERID_CommonStartMenu, FOLDERID_CommonStartup})
    AddKnown(&folders, id);
  AddProfiles(&folders);
  return folders;
}

}  // namespace pub
