// https://learn.microsoft.com/windows/win32/menurc/using-resources
#include "common/win/PackageDigest.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"

namespace pub {

std::string EmbeddedMakerKey(HMODULE module) {
  if (!module) module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, kMakerKeyResource, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return "";
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(module, found);
  if (!bytes || size != tk::kP256PublicKeySize || static_cast<const char*>(bytes)[0] != 0x04)
    throw tk::ECryptoError("内置的制作者公钥无效：应为 quarnpak pubkey 写出的 65 字节");
  return std::string(static_cast<const char*>(bytes), size);
}

PackageDigests::PackageDigests(pak::TkexPak& archive, const std::string& makerKey)
    : archive_(archive),
      check_(pak::ReadDigestCheck(*archive.Stream, *archive.Header, archive.Stream->Size())),
      trust_(pak::JudgePackage(check_, makerKey)) {}

bool PackageDigests::EntryMatches(int32_t index, tk::Sha256& digest) const {
  tk::Sha256Digest got = digest.Finish();
  if (!trust_.checkEntries) return true;
  return index >= 0 && static_cast<size_t>(index) < check_.block.entries.size() && check_.block.entries[index] == got;
}

std::string PackageDigests::MismatchText(int32_t index) const {
  return pak::EntryMismatchText(index, archive_.Directory->Item(index));
}

}  // namespace pub
