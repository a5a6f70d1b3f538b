// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shfileoperationw
#include "tests/e2e/driver/Files.h"

#include <cstdio>

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace e2e {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder(temp, length);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderIsEmpty(const std::wstring& folder) {
  std::wstring pattern = folder;
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") empty = false;
  } while (empty && FindNextFileW(search, &found));
  FindClose(search);
  return empty;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool DeleteTree(const std::wstring& folder) {
  std::wstring from = folder;
  while (from.size() > 3 && from.back() == L'\\') from.pop_back();
  if (!FolderExists(from)) return true;
  from.push_back(L'\0');  // a double-NUL-terminated list
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
  from.pop_back();
  return !FolderExists(from);
}

WorkFolder::WorkFolder(const wchar_t* prefix) {
  static unsigned counter = 0;
  wchar_t name[80];
  swprintf(name, 80, L"%ls-%lu-%u\\", prefix, GetCurrentProcessId(), ++counter);
  path_ = TempFolder() + name;
  DeleteTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

WorkFolder::~WorkFolder() { DeleteTree(path_); }

std::string FileBytes(const std::wstring& path) {
  std::string bytes;
  if (FILE* file = _wfopen(path.c_str(), L"rb")) {
    char buffer[65536];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    fclose(file);
  }
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

}  // namespace e2e
