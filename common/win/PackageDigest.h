// The maker's public key built into the program, against which a package's digest block is
// judged when its index is read (common/portable/PackageIndex.h).
#pragma once

#include <windows.h>

#include <string>

namespace pub {

// The resource that holds the maker's public key: RCDATA named QUARN_MAKER_KEY, the 65 bytes
// `quarnpak pubkey` writes. A development build has none.
constexpr const wchar_t* kMakerKeyResource = L"QUARN_MAKER_KEY";

// The key built into module (the running program when null), or empty when there is none.
// A resource of any other size is no key: ECryptoError, so a broken build never passes for a
// development one.
std::string EmbeddedMakerKey(HMODULE module = nullptr);

}  // namespace pub
