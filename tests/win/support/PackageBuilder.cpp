#include "tests/win/support/PackageBuilder.h"

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

}  // namespace testing_support
