// What a run knows of its package, read in one open before anything is written: where it lies,
// what it says of itself, every entry's name, place and size, each entry's digest, and the few
// small entries the run reads before staging. The space check, the port check, the version the
// run names, the wizard's choice page and staging all take this one value; only staging's
// writers open the file again, each for the data of the entries it writes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pak/PakLocation.h"
#include "toolkit/core/DateTime.h"
#include "toolkit/core/Sha256.h"

namespace pub {

struct PackageEntry {
  std::string name;  // as stored, '/'-separated, GBK
  std::string path;  // where it is staged, relative, '\'-separated
  bool file = true;  // false for a listed-only folder
  uint32_t offset = 0;
  uint32_t size = 0;
};

struct PackageIndex {
  enum Kind {
    Read,     // read whole and taken: every name is safe and the digest block is accepted
    Missing,  // no package where it was looked for
    Damaged,  // it cannot be read as an archive, or an entry's name is unsafe
    Refused,  // its digest block is damaged, or it is not signed by the maker the program knows
  };
  Kind kind = Missing;
  std::string detail;  // for a package not read: the entry or file concerned and the reason

  pak::PackageLocation location;
  int64_t packageSize = 0;  // bytes of the package when it was read; staging finds the same
  std::string version;
  tk::TDateTime date = 0;
  std::vector<PackageEntry> entries;  // in package order
  // The top folders of the entries in the order first met, each once whatever its case.
  std::vector<std::string> products;
  uint64_t dataBytes = 0;      // the data of every entry
  uint64_t unpackedBytes = 0;  // the room they take unpacked, each file rounded up to a 4 KiB cluster
  // Whether each entry's data must match its digest as it is written, and the line for the
  // log that says how far the package was checked.
  bool checkDigests = false;
  std::vector<tk::Sha256Digest> digests;
  std::string trustNote;
  // The small entries asked for when the package was read, by upper-cased stored name.
  std::map<std::string, std::string> texts;

  bool Usable() const { return kind == Read; }
  int32_t Count() const { return static_cast<int32_t>(entries.size()); }
  // Whether the data fed to digest while entry index was written match its digest; always
  // true when the package carries none. Finishes digest.
  bool EntryMatches(int32_t index, tk::Sha256& digest) const;
  // "第 3 个条目 "x" 的数据与摘要不符", GBK.
  std::string MismatchText(int32_t index) const;
  // The text of a small entry read with the index, by its stored name in any letter case.
  const std::string* Text(const std::string& name) const;
};

// The largest entry read into memory with the index; a bigger one under a wanted name is not.
constexpr uint32_t kMaxIndexText = 1024 * 1024;

// Opens the package at location once, for reading only: its header and directory, every
// entry's name judged (one that could land outside the staging folder, or that Windows would
// write under another name or to a device, makes the whole package Damaged), its digest block
// judged against makerKey (the maker's public key built into the program, empty in a
// development build), and the data of the files named in texts (stored names, any case, each
// up to kMaxIndexText bytes). The file is let go before returning; it is never written to, and
// never created when it is missing.
PackageIndex ReadPackageIndex(const pak::PackageLocation& location, const std::string& makerKey,
                              const std::vector<std::string>& texts = {});

// The top folder of a staged path ("forum" of "forum\a.jsp"), or "" for a file right in the
// package's root.
std::string TopFolderOf(const std::string& path);

}  // namespace pub
