// Archive bytes laid out by hand from the format's tables, so that tests never trust the code
// under test to write what it later reads; plus file helpers and a scratch folder per test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pakt {

struct HeaderSpec {
  uint16_t word0 = 0;
  uint16_t word1 = 1;
  uint32_t directoryOffset = 115;
  uint32_t entryCount = 0;
  std::string description = "Test";
  std::string filler = std::string(24, 'X');
  std::string version = "1.0.0";
  double created = 39668.75;  // 2008-08-08 18:00:00.000
};

struct EntrySpec {
  std::string name;
  uint16_t kind;
  uint32_t offset;
  uint32_t size;
};

// 115 header bytes: texts are cut or zero-padded to their field widths.
std::string HeaderBytes(const HeaderSpec& header);
// 266 bytes of one directory entry.
std::string EntryBytes(const EntrySpec& entry);
// Header, then data (placed at 115), then the directory; entry count and directory offset
// follow from the parts unless the header spec is used as given (keepHeader).
std::string ArchiveBytes(HeaderSpec header, const std::string& data, const std::vector<EntrySpec>& entries,
                         bool keepHeader = false);

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// Deterministic, non-repeating-looking bytes.
std::string Pattern(size_t size);

// A folder of the test's own under the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Marks a file read-only (no write permission; the read-only attribute on Windows) and makes it
// writable again when it goes, so the scratch folder can be removed on Windows too.
class ReadOnlyMark {
 public:
  explicit ReadOnlyMark(const std::filesystem::path& path);
  ~ReadOnlyMark();
  ReadOnlyMark(const ReadOnlyMark&) = delete;
  ReadOnlyMark& operator=(const ReadOnlyMark&) = delete;
  // Whether this user is really refused writing the file: root is not, on POSIX.
  bool WritesRefused() const;

 private:
  std::filesystem::path path_;
};

// A path as the archive object takes it: GBK on Windows, the native bytes elsewhere.
std::string NativeName(const std::filesystem::path& path);

}  // namespace pakt
