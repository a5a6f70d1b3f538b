#include "tests/fuzz/PakFuzzRound.h"

#include <fstream>
#include <iterator>

#include "pak/Pak.h"
#include "pak/PakTrust.h"
#include "toolkit/core/DateTime.h"
#include "toolkit/core/Errors.h"
#ifdef _WIN32
#include "toolkit/core/CodePage.h"
#endif

namespace fs = std::filesystem;

namespace pakfuzz {
namespace {

// A path as the archive object takes it: GBK on Windows, the native bytes elsewhere.
std::string NativeName(const fs::path& path) {
#ifdef _WIN32
  return tk::FromWide(path.wstring());
#else
  return path.string();
#endif
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Extracts every entry. A file entry's data were checked at open, so it must extract whole; an
// entry of another kind is listed only, its range unchecked, and may fail as a short read.
std::string ExtractAll(pak::TkexPak& archive, const std::string& bytes, const fs::path& out) {
  for (int32_t i = 0; i < archive.Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = archive.Directory->Item(i);
    item.NameText();
    fs::path destination = out / std::to_string(i);
    if (item.Kind != pak::kKindFile) {
      try {
        archive.ExtractEntry(i, NativeName(destination));
      } catch (const tk::EReadError&) {
      }
      continue;
    }
    std::string where = "entry " + std::to_string(i) + ": ";
    try {
      archive.ExtractEntry(i, NativeName(destination));
    } catch (const tk::EReadError& error) {
      return where + "an entry the open accepted failed to extract: " + error.Message();
    }
    std::string expected = item.DataSize == 0 ? std::string() : bytes.substr(item.DataOffset, item.DataSize);
    if (ReadAll(destination) != expected) return where + "extracted bytes differ from the entry's data";
  }
  return "";
}

// The digest block after the directory: read, checked and judged with and without a maker's
// key; a block that reads as present must encode back to exactly its bytes.
std::string CheckDigests(pak::TkexPak& archive, const std::string& bytes) {
  pak::DigestCheck check = pak::ReadDigestCheck(*archive.Stream, *archive.Header, static_cast<int64_t>(bytes.size()));
  uint64_t start = pak::DigestBlockOffset(*archive.Header);
  std::string tail = start < bytes.size() ? bytes.substr(start) : std::string();
  if (check.state == pak::DigestBlockState::Absent && check.problem.empty() && !tail.empty())
    return "bytes after the directory taken for nothing at all";
  if (check.state != pak::DigestBlockState::Present) return "";
  if (pak::EncodeDigestBlock(check.block) != tail) return "the block read differs from its bytes";
  pak::MismatchedEntries(*archive.Stream, *archive.Directory, check.block);
  pak::JudgePackage(check, "");
  pak::JudgePackage(check, check.block.publicKey);
  return "";
}

// The block's parser on the input itself, with the count the input claims: a block it takes
// must encode back to the input.
std::string ParseAsBlock(const std::string& bytes) {
  uint32_t count = bytes.size() >= 16 ? static_cast<uint32_t>(static_cast<uint8_t>(bytes[12])) : 0;
  pak::DigestBlockRead read = pak::ParseDigestBlock(bytes, count);
  if (read.state == pak::DigestBlockState::Present && pak::EncodeDigestBlock(read.block) != bytes)
    return "a parsed block differs from its bytes";
  return "";
}

}  // namespace

std::string RunPackageRound(const uint8_t* data, size_t size, const fs::path& scratch) {
  fs::path package = scratch / "Setup.pak";
  fs::path out = scratch / "out";
  fs::remove_all(out);
  fs::create_directories(out);
  std::string bytes(reinterpret_cast<const char*>(data), size);
  WriteAll(package, bytes);
  std::string problem = ParseAsBlock(bytes);
  if (!problem.empty()) return problem;
  try {
    pak::TkexPak archive(nullptr, NativeName(package), pak::OpenFor::Reading);
    archive.Header->VersionText();
    archive.Header->DescriptionText();
    tk::FormatDateTime(archive.Header->CreationTime);
    problem = ExtractAll(archive, bytes, out);
    if (problem.empty()) problem = CheckDigests(archive, bytes);
  } catch (const tk::EReadError&) {
    // A damaged package: the staging tells the user so.
  }
  if (problem.empty() && ReadAll(package) != bytes) problem = "the package file changed";
  fs::remove_all(out);
  return problem;
}

}  // namespace pakfuzz
