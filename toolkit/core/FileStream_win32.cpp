// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-createfilew
#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"

namespace tk {

TFileStream::TFileStream(const std::string& fileName, FileMode mode)
    : fileName_(fileName), handle_(0), readOnly_(mode == FileMode::OpenRead) {
  bool create = mode == FileMode::Create;
  // A writer shares the file with nobody; a reader with other readers only, which also lets it
  // open a file that another program already reads with the same sharing.
  DWORD access = readOnly_ ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD share = readOnly_ ? FILE_SHARE_READ : 0;
  HANDLE h = CreateFileW(ToWide(fileName).c_str(), access, share, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    std::string reason = SysErrorMessage(error);
    if (create) throw EFCreateError(Format("无法创建文件 \"%s\"。%s", fileName.c_str(), reason.c_str()));
    throw EFOpenError(Format("无法打开文件 \"%s\"。%s", fileName.c_str(), reason.c_str()), error);
  }
  handle_ = reinterpret_cast<intptr_t>(h);
}

TFileStream::~TFileStream() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

int32_t TFileStream::Read(void* buffer, int32_t count) {
  DWORD n = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &n, nullptr)) return 0;
  return static_cast<int32_t>(n);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  if (readOnly_) throw EWriteError(Format("文件 \"%s\" 以只读方式打开，不能写入", fileName_.c_str()));
  DWORD n = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &n, nullptr)) return 0;
  return static_cast<int32_t>(n);
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), distance, &result, method)) return -1;
  return result.QuadPart;
}

bool IsFileNotFoundError(uint32_t errorCode) {
  return errorCode == ERROR_FILE_NOT_FOUND || errorCode == ERROR_PATH_NOT_FOUND;
}

bool FileExists(const std::string& fileName) {
  DWORD attributes = GetFileAttributesW(ToWide(fileName).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& folder) { return FolderExists(ToWide(folder)); }

bool FolderExists(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tk
