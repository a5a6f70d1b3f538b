// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
#include <windows.h>

#include <vector>

#include "common/portable/TextLines.h"
#include "common/win/TextFile.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

// The file cannot be made or put in place; code is the system's reason.
[[noreturn]] void ThrowCreateError(const std::string& fileName, DWORD code) {
  throw tk::EFCreateError(tk::Format("无法创建文件 \"%s\"。%s", fileName.c_str(), tk::SysErrorMessage(code).c_str()));
}

std::string ReadWholeFile(const std::string& fileName) {
  // Readers may share the file; writers are shut out while it is read.
  HANDLE file = CreateFileW(tk::ToWide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw tk::EFOpenError(tk::Format("无法打开文件 \"%s\"。%s", fileName.c_str(), tk::SysErrorMessage(GetLastError()).c_str()));
  std::string content;
  char buffer[65536];
  DWORD read = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) content.append(buffer, read);
  DWORD code = ok ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (!ok) throw tk::EReadError(tk::Format("无法读取文件 \"%s\"。%s", fileName.c_str(), tk::SysErrorMessage(code).c_str()));
  return content;
}

// A new, empty file of a unique name in the folder of fileName.
std::wstring MakeTemporaryBeside(const std::string& fileName) {
  std::wstring wide = tk::ToWide(fileName);
  size_t slash = wide.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"." : wide.substr(0, slash + 1);
  wchar_t name[MAX_PATH];
  if (!GetTempFileNameW(folder.c_str(), L"qrt", 0, name))
    ThrowCreateError(fileName, GetLastError());
  return name;
}

void WriteTemporary(const std::wstring& temporary, const std::string& fileName, const std::string& content) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    ThrowCreateError(fileName, GetLastError());
  DWORD written = 0;
  bool ok = content.empty() || (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                                written == content.size());
  // The content must be on the disk before it takes the original's place.
  ok = ok && FlushFileBuffers(file);
  DWORD code = ok ? ERROR_SUCCESS : GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    code = GetLastError();
  }
  if (!ok) throw tk::EWriteError(tk::Format("无法写入文件 \"%s\"。%s", fileName.c_str(), tk::SysErrorMessage(code).c_str()));
}

// Removes the temporary file unless it has taken the original's place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (path_.empty()) return;
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::wstring& Path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::wstring path_;
};

}  // namespace

void ReplaceInTextFile(const std::string& fileName, const std::string& find, const std::string& replacement) {
  std::string content = PatchedFileText(ReadWholeFile(fileName), find, replacement);
  std::wstring wide = tk::ToWide(fileName);
  // A read-only file may not be written: a rename over it would succeed where the system
  // lets it (Wine does), so it is refused here, before anything is made.
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    ThrowCreateError(fileName, ERROR_ACCESS_DENIED);
  TemporaryFile temporary(MakeTemporaryBeside(fileName));
  WriteTemporary(temporary.Path(), fileName, content);
  // The new file keeps the original's attributes (hidden, system ...).
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(temporary.Path().c_str(), attributes);
  // A rename over the original is one step: the file is wholly old or wholly new, whatever
  // fails. (ReplaceFileW can fail having already removed the original.)
  if (!MoveFileExW(temporary.Path().c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ThrowCreateError(fileName, GetLastError());
  temporary.Kept();
}

}  // namespace pub
