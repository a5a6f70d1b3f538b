#include "PakTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "toolkit/core/CodePage.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pakt {
namespace {

template <typename T>
void PutLittleEndian(std::string* out, T value) {
  unsigned char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);  // both targets are little-endian
  out->append(reinterpret_cast<const char*>(bytes), sizeof value);
}

void PutText(std::string* out, const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  out->append(field);
}

}  // namespace

std::string HeaderBytes(const HeaderSpec& h) {
  std::string out;
  PutLittleEndian(&out, h.word0);
  PutLittleEndian(&out, h.word1);
  PutLittleEndian(&out, h.directoryOffset);
  PutLittleEndian(&out, h.entryCount);
  PutText(&out, h.description, 50);
  PutText(&out, h.filler, 24);
  PutText(&out, h.version, 21);
  PutLittleEndian(&out, h.created);
  return out;
}

std::string EntryBytes(const EntrySpec& e) {
  std::string out;
  PutText(&out, e.name, 256);
  PutLittleEndian(&out, e.kind);
  PutLittleEndian(&out, e.offset);
  PutLittleEndian(&out, e.size);
  return out;
}

std::string ArchiveBytes(HeaderSpec header, const std::string& data, const std::vector<EntrySpec>& entries,
                         bool keepHeader) {
  if (!keepHeader) {
    header.entryCount = static_cast<uint32_t>(entries.size());
    header.directoryOffset = static_cast<uint32_t>(115 + data.size());
  }
  std::string out = HeaderBytes(header) + data;
  for (const EntrySpec& entry : entries) out += EntryBytes(entry);
  return out;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 2463534242u;
  for (char& c : bytes) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    c = static_cast<char>(state);
  }
  return bytes;
}

ScratchFolder::ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = fs::temp_directory_path() / ("quarn-" + std::string(test->test_suite_name()) + "." + test->name() + "-" +
                                       std::to_string(getpid()));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

ReadOnlyMark::ReadOnlyMark(const fs::path& path) : path_(path) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

ReadOnlyMark::~ReadOnlyMark() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add, ec);
}

bool ReadOnlyMark::WritesRefused() const {
#ifdef _WIN32
  return _waccess(path_.c_str(), 2) != 0;
#else
  return access(path_.c_str(), W_OK) != 0;
#endif
}

std::string NativeName(const fs::path& path) {
#ifdef _WIN32
  return tk::FromWide(path.wstring());
#else
  return path.string();
#endif
}

}  // namespace pakt
