#include "setup/win/PackagePorts.h"

#include "common/portable/GbkCase.h"
#include "pak/Pak.h"

namespace pub {
namespace {

// Larger than any option file; a bigger entry under that name is not read into memory.
constexpr uint32_t kMaxOptionFileSize = 1024 * 1024;

}  // namespace

std::vector<PlannedPort> PackagePorts(const pak::PackageLocation& package) {
  try {
    pak::TkexPak archive(nullptr, package);
    std::vector<std::string> names;
    std::optional<std::string> myIni;
    for (int32_t i = 0; i < archive.Directory->Count(); ++i) {
      const pak::TkexPakDirectoryItem& item = archive.Directory->Item(i);
      names.push_back(item.NameText());
      if (item.Kind == pak::kKindFile && GbkUpperCase(names.back()) == "MYSQL5/MY.INI" &&
          item.DataSize <= kMaxOptionFileSize)
        myIni = archive.ReadEntry(i);
    }
    return PortsOfPackage(names, myIni);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace pub
