#include "tests/win/support/PackageBuilder.h"

#include "pak/PakDigestBlock.h"
#include "tests/native/PakTestSupport.h"

namespace testing_support {

std::string BuildPackage(const std::vector<PackageFile>& files, const std::string& version, double created) {
  std::string data;
  std::vector<pakt::EntrySpec> entries;
  for (const PackageFile& file : files) {
    entries.push_back({file.name, file.kind, static_cast<uint32_t>(115 + data.size()),
                       static_cast<uint32_t>(file.content.size())});
    data += file.content;
  }
  pakt::HeaderSpec header;
  header.version = version;
  header.created = created;
  return pakt::ArchiveBytes(header, data, entries);
}

std::string BuildPackageWithDigests(const std::vector<PackageFile>& files) {
  const std::string package = BuildPackage(files);
  size_t dataSize = 0;
  pak::DigestBlock block;
  for (const PackageFile& file : files) {
    dataSize += file.content.size();
    block.entries.push_back(tk::Sha256Of(file.kind == 0 ? file.content : std::string()));
  }
  pak::SealDigestBlock(&block, package.substr(0, 115) + package.substr(115 + dataSize));
  return package + pak::EncodeDigestBlock(block);
}

}  // namespace testing_support
