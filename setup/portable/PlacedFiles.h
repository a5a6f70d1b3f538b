// The list of files an install run placed, kept beside the uninstaller: for each file its path
// below the install folder, its size and its last-write time as they were once configuration
// was patched. A repair or an upgrade compares the files it finds with it: one that differs
// was changed since (by the user, or by a service: the database's files) and stays as it is.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pub {

// Where the list lives, below the install folder.
constexpr const char* kPlacedFilesPath = "\\install\\files.txt";

// A file as the file system shows it.
struct FileFacts {
  uint64_t size = 0;
  uint64_t writeTime = 0;  // FILETIME ticks
  bool operator==(const FileFacts& other) const { return size == other.size && writeTime == other.writeTime; }
};

struct PlacedFile {
  std::string path;  // GBK, '\'-separated, relative to the install folder
  FileFacts facts;
  // Listed before it is placed, with no facts yet: a run stopped on the way leaves the file
  // factory-made or half-patched, never the user's, so the next repair replaces it.
  bool pending = false;
};

// The list as UTF-8 text: a first line naming the format, then "size<TAB>time<TAB>path" a file,
// "*<TAB>*<TAB>path" for a pending one.
std::string FormatPlacedFiles(const std::vector<PlacedFile>& files);
// nullopt when the text is not such a list (another format, a damaged line): it is then
// treated as absent.
std::optional<std::vector<PlacedFile>> ParsePlacedFiles(const std::string& utf8);

// Whether a repair leaves a file it finds in the install folder as it is.
class KeepRule {
 public:
  // With the list of the installation being repaired: a file is kept when it differs from its
  // entry, or has none (the user made it; the package had no such file then); a pending entry
  // is never kept.
  static KeepRule FromList(const std::vector<PlacedFile>& files);
  // An installation made before the list existed: the database's files are kept, nothing else.
  static KeepRule WithoutList();

  // path: relative, GBK; found: the file there now.
  bool Keep(const std::string& path, const FileFacts& found) const;
  // The entry a path had, for a kept file, so that the rewritten list still tells it apart.
  const PlacedFile* Entry(const std::string& path) const;

 private:
  bool haveList_ = false;
  std::map<std::string, PlacedFile> entries_;  // by upper-cased path: Windows ignores case
};

}  // namespace pub
