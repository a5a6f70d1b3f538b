// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getshortpathnamew
#include "common/win/PackageLocation.h"

#include <windows.h>

#include <optional>

#include "common/portable/EmbeddedPackage.h"
#include "common/portable/WorkingFolders.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/ProgramPath.h"

namespace pub {
namespace {

// The program's own file by a GBK name: its own, or its short one when GBK cannot hold that.
std::optional<std::string> ProgramFileName() {
  const std::wstring wide = tk::ProgramPath();
  if (wide.empty()) return std::nullopt;
  std::string gbk;
  if (tk::FromWideChecked(wide, &gbk)) return gbk;
  std::wstring alias(32768, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), &alias[0], static_cast<DWORD>(alias.size()));
  if (length == 0 || length >= alias.size()) return std::nullopt;
  alias.resize(length);
  if (tk::FromWideChecked(alias, &gbk)) return gbk;
  return std::nullopt;
}

std::optional<pak::PackageLocation> PackageInProgram() {
  const std::optional<std::string> program = ProgramFileName();
  if (!program) return std::nullopt;
  try {
    tk::TFileStream file(*program, tk::FileMode::OpenRead);
    const std::optional<EmbeddedPart> part = FindEmbeddedPackage(file);
    if (!part) return std::nullopt;
    return pak::PackageLocation{*program, part->offset, part->size};
  } catch (const std::exception&) {
    return std::nullopt;  // a program that cannot read itself carries no package it could use
  }
}

}  // namespace

pak::PackageLocation LocatePackage(const std::string& setupFolder) {
  const pak::PackageLocation beside{setupFolder + kPackageFileName};
  if (tk::FileExists(beside.path)) return beside;
  return PackageInProgram().value_or(beside);
}

}  // namespace pub
