#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"

namespace tk {
namespace {

// Opens the file for reading. O_NONBLOCK keeps a named pipe from blocking the open; anything but
// a regular file is refused, as Windows refuses to open a folder as a file.
int OpenForReading(const std::string& fileName, int* error) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  *error = errno;
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0)
    *error = errno;
  else if (S_ISREG(st.st_mode))
    return fd;
  else
    *error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  ::close(fd);
  return -1;
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, FileMode mode)
    : fileName_(fileName), handle_(-1), readOnly_(mode == FileMode::OpenRead) {
  bool create = mode == FileMode::Create;
  int error = 0;
  int fd = readOnly_ ? OpenForReading(fileName, &error)
                     : ::open(fileName.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
  if (!readOnly_) error = errno;
  if (fd >= 0 && ::flock(fd, (readOnly_ ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
    error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    fd = -1;
  }
  // Truncate only once the file is ours, so a held file is never emptied.
  if (fd >= 0 && create && ::ftruncate(fd, 0) != 0) {
    error = errno;
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) {
    std::string reason = SysErrorMessage(static_cast<uint32_t>(error));
    if (create) throw EFCreateError(Format("无法创建文件 \"%s\"。%s", fileName.c_str(), reason.c_str()));
    throw EFOpenError(Format("无法打开文件 \"%s\"。%s", fileName.c_str(), reason.c_str()), static_cast<uint32_t>(error));
  }
  handle_ = fd;
}

TFileStream::~TFileStream() { ::close(static_cast<int>(handle_)); }

int32_t TFileStream::Read(void* buffer, int32_t count) {
  ssize_t n = ::read(static_cast<int>(handle_), buffer, static_cast<size_t>(count));
  return n < 0 ? 0 : static_cast<int32_t>(n);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  if (readOnly_) throw EWriteError(Format("文件 \"%s\" 以只读方式打开，不能写入", fileName_.c_str()));
  ssize_t n = ::write(static_cast<int>(handle_), buffer, static_cast<size_t>(count));
  return n < 0 ? 0 : static_cast<int32_t>(n);
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  return ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
}

bool IsFileNotFoundError(uint32_t errorCode) { return errorCode == ENOENT; }

bool FileExists(const std::string& fileName) {
  struct stat st;
  return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& folder) {
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace tk
