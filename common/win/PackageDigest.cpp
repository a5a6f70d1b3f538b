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

}  // namespace pub
