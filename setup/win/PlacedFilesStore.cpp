// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getfileattributesexw
#include "setup/win/PlacedFilesStore.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

constexpr DWORD kMaxListBytes = 64u << 20;

bool ReadWhole(const std::wstring& path, std::string* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxListBytes;
  if (ok) {
    text->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = text->empty() || (ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) &&
                           read == text->size());
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

std::optional<FileFacts> FactsOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(tk::ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  FileFacts facts;
  facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return facts;
}

std::optional<std::vector<PlacedFile>> ReadPlacedFiles(const std::string& installFolder) {
  std::string text;
  if (!ReadWhole(tk::ToWide(installFolder + kPlacedFilesPath), &text)) return std::nullopt;
  return ParsePlacedFiles(text);
}

bool WritePlacedFiles(const std::string& installFolder, const std::vector<PlacedFile>& files, std::string* reason) {
  const std::wstring path = tk::ToWide(installFolder + kPlacedFilesPath);
  const std::wstring fresh = path + L".new";
  const std::string text = FormatPlacedFiles(files);
  HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size() &&
            FlushFileBuffers(file);
  DWORD code = ok ? ERROR_SUCCESS : GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (ok && !MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    code = GetLastError();
  }
  if (!ok) {
    DeleteFileW(fresh.c_str());
    *reason = tk::FromWide(path) + "：" + tk::SysErrorMessage(code);
  }
  return ok;
}

}  // namespace pub
