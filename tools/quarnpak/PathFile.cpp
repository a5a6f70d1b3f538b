#include "tools/quarnpak/PathFile.h"

#include <cerrno>

#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {
namespace {

// Opening a named pipe for reading waits for a writer, so anything but a regular file is refused
// before it is opened; a name that does not exist is left to the open, which gives the reason.
void RefuseSpecialFile(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw ToolError("not a regular file: " + ShowPath(path));
}

std::FILE* OpenFile(const std::filesystem::path& path, PathFile::Mode mode) {
  bool read = mode == PathFile::Mode::Read;
  if (read) RefuseSpecialFile(path);
#ifdef _WIN32
  return _wfopen(path.c_str(), read ? L"rb" : L"wb");
#else
  return std::fopen(path.c_str(), read ? "rb" : "wb");
#endif
}

}  // namespace

PathFile::PathFile(const std::filesystem::path& path, Mode mode) : path_(path), file_(OpenFile(path, mode)) {
  bool read = mode == Mode::Read;
  if (!file_) {
    int error = errno;
    throw ToolError((read ? "cannot open " : "cannot create ") + ShowPath(path) + ": " + SystemReason(error));
  }
  // Checked again: the name may have been replaced between the check and the open.
  std::error_code ec;
  if (read && !std::filesystem::is_regular_file(path, ec)) {
    std::fclose(file_);
    file_ = nullptr;
    throw ToolError("not a regular file: " + ShowPath(path));
  }
}

PathFile::~PathFile() {
  if (file_) std::fclose(file_);
}

int32_t PathFile::Read(void* buffer, int32_t count) {
  size_t n = std::fread(buffer, 1, static_cast<size_t>(count), file_);
  if (n < static_cast<size_t>(count) && std::ferror(file_)) errorNumber_ = errno;
  return static_cast<int32_t>(n);
}

int32_t PathFile::Write(const void* buffer, int32_t count) {
  size_t n = std::fwrite(buffer, 1, static_cast<size_t>(count), file_);
  if (n < static_cast<size_t>(count)) errorNumber_ = errno;
  return static_cast<int32_t>(n);
}

int64_t PathFile::Seek(int64_t offset, tk::SeekOrigin origin) {
  int whence = origin == tk::SeekOrigin::Begin ? SEEK_SET : origin == tk::SeekOrigin::Current ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(file_, offset, whence) != 0) return -1;
  return _ftelli64(file_);
#else
  if (fseeko(file_, static_cast<off_t>(offset), whence) != 0) return -1;
  return ftello(file_);
#endif
}

void PathFile::Close() {
  if (!file_) return;
  bool failed = std::ferror(file_) != 0 || errorNumber_ != 0;
  if (std::fflush(file_) != 0 && !failed) {
    failed = true;
    errorNumber_ = errno;
  }
  if (std::fclose(file_) != 0 && !failed) {
    failed = true;
    errorNumber_ = errno;
  }
  file_ = nullptr;
  if (failed) throw ToolError("cannot write " + ShowPath(path_) + ": " + FailureReason());
}

std::string PathFile::FailureReason() const {
  return errorNumber_ != 0 ? SystemReason(errorNumber_) : std::string("unexpected end of file");
}

}  // namespace qp
