// The installer's side of the package's digest block: the maker's public key built into the
// program, the block judged before anything is staged, and each entry's data checked as it is
// written. Staging calls, for the package it opened for reading:
//   PackageDigests digests(archive, EmbeddedMakerKey());
//   if (!digests.Trust().accepted) -> refuse the package with Trust().message, nothing written;
//   otherwise log Trust().message, then for each kind 0 entry i:
//     tk::Sha256 digest;  archive.ExtractEntry(i, destination, &digest);
//     if (!digests.EntryMatches(i, digest)) -> remove destination, refuse with MismatchText(i).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "pak/Pak.h"
#include "pak/PakTrust.h"

namespace pub {

// The resource that holds the maker's public key: RCDATA named QUARN_MAKER_KEY, the 65 bytes
// `quarnpak pubkey` writes. A development build has none.
constexpr const wchar_t* kMakerKeyResource = L"QUARN_MAKER_KEY";

// The key built into module (the running program when null), or empty when there is none.
// A resource of any other size is no key: ECryptoError, so a broken build never passes for a
// development one.
std::string EmbeddedMakerKey(HMODULE module = nullptr);

class PackageDigests {
 public:
  // Reads and judges the block of archive, opened for reading. EReadError when the file cannot
  // be read.
  PackageDigests(pak::TkexPak& archive, const std::string& makerKey);

  const pak::PackageTrust& Trust() const { return trust_; }
  // Whether the data fed to digest while entry index was extracted match its digest; always
  // true when the package carries no digests (a development build taking an old package).
  // Finishes digest.
  bool EntryMatches(int32_t index, tk::Sha256& digest) const;
  // "第 3 个条目 "x" 的数据与摘要不符", GBK.
  std::string MismatchText(int32_t index) const;

 private:
  pak::TkexPak& archive_;
  pak::DigestCheck check_;
  pak::PackageTrust trust_;
};

}  // namespace pub
