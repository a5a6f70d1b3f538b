#include "common/portable/PackageIndex.h"

#include <memory>
#include <set>

#include "common/portable/EntryNames.h"
#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"
#include "common/portable/PathText.h"
#include "pak/Pak.h"
#include "pak/PakTrust.h"
#include "toolkit/core/FileStream.h"

namespace pub {
namespace {

constexpr uint64_t kCluster = 4096;

PackageIndex NotRead(PackageIndex::Kind kind, std::string detail, const pak::PackageLocation& location) {
  PackageIndex index;
  index.kind = kind;
  index.detail = std::move(detail);
  index.location = location;
  return index;
}

// The product names in the order first met, each once whatever its letter case.
void GatherProducts(PackageIndex& index) {
  std::set<std::string> folded;
  for (const PackageEntry& entry : index.entries) {
    const std::string product = TopFolderOf(entry.path);
    if (!product.empty() && folded.insert(GbkUpperCase(product)).second) index.products.push_back(product);
  }
}

// Header and directory into the index; "" when every name is safe to unpack, otherwise the
// first that is not, with why.
std::string TakeDirectory(const pak::TkexPak& archive, PackageIndex& index) {
  index.version = archive.Header->VersionText();
  index.date = archive.Header->CreationTime;
  for (int32_t i = 0; i < archive.Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = archive.Directory->Item(i);
    PackageEntry entry{item.NameText(), item.NameText(), item.Kind == pak::kKindFile, item.DataOffset, item.DataSize};
    const std::string problem = NameProblem(entry.name, item.Kind);
    if (!problem.empty()) return entry.name + ": " + problem;
    ReplaceChar('/', '\\', entry.path);
    index.dataBytes += entry.size;
    index.unpackedBytes += (uint64_t{entry.size} + kCluster - 1) / kCluster * kCluster + kCluster;
    index.entries.push_back(std::move(entry));
  }
  GatherProducts(index);
  return std::string();
}

// The digest block judged; "" when the package is taken, otherwise why not.
std::string JudgeDigests(pak::TkexPak& archive, const std::string& makerKey, PackageIndex& index) {
  const pak::DigestCheck check = pak::ReadDigestCheck(*archive.Stream, *archive.Header, index.packageSize);
  const pak::PackageTrust trust = pak::JudgePackage(check, makerKey);
  if (!trust.accepted) return trust.message;
  index.checkDigests = trust.checkEntries;
  index.trustNote = trust.message;
  if (trust.checkEntries) index.digests = check.block.entries;
  return std::string();
}

void ReadTexts(pak::TkexPak& archive, const std::vector<std::string>& wanted, PackageIndex& index) {
  std::set<std::string> names;
  for (const std::string& name : wanted) names.insert(GbkUpperCase(name));
  for (int32_t i = 0; i < index.Count(); ++i) {
    const PackageEntry& entry = index.entries[i];
    const std::string key = GbkUpperCase(entry.name);
    if (entry.file && entry.size <= kMaxIndexText && names.count(key)) index.texts[key] = archive.ReadEntry(i);
  }
}

}  // namespace

bool PackageIndex::EntryMatches(int32_t index, tk::Sha256& digest) const {
  const tk::Sha256Digest got = digest.Finish();
  if (!checkDigests) return true;
  return index >= 0 && static_cast<size_t>(index) < digests.size() && digests[index] == got;
}

std::string PackageIndex::MismatchText(int32_t index) const {
  return "第 " + std::to_string(index) + " 个条目 \"" + entries.at(index).name + "\" 的数据与摘要不符";
}

const std::string* PackageIndex::Text(const std::string& name) const {
  const auto found = texts.find(GbkUpperCase(name));
  return found == texts.end() ? nullptr : &found->second;
}

PackageIndex ReadPackageIndex(const pak::PackageLocation& location, const std::string& makerKey,
                              const std::vector<std::string>& texts) {
  if (!tk::FileExists(location.path)) return NotRead(PackageIndex::Missing, location.path, location);
  std::unique_ptr<pak::TkexPak> archive;
  try {
    archive = std::make_unique<pak::TkexPak>(nullptr, location);
  } catch (const pak::EPackageMissing&) {
    return NotRead(PackageIndex::Missing, location.path, location);  // gone between the look and the open
  } catch (const std::exception& error) {
    return NotRead(PackageIndex::Damaged, error.what(), location);
  }
  PackageIndex index = NotRead(PackageIndex::Read, std::string(), location);
  try {
    index.packageSize = archive->Stream->Size();
    std::string problem = TakeDirectory(*archive, index);
    if (!problem.empty()) return NotRead(PackageIndex::Damaged, problem, location);
    problem = JudgeDigests(*archive, makerKey, index);
    if (!problem.empty()) return NotRead(PackageIndex::Refused, problem, location);
    ReadTexts(*archive, texts, index);
  } catch (const std::exception& error) {
    return NotRead(PackageIndex::Damaged, error.what(), location);
  }
  return index;
}

std::string TopFolderOf(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\') return path.substr(0, i);
  }
  return std::string();
}

}  // namespace pub
