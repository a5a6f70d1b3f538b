// ECDSA signatures over the curve P-256 with SHA-256, checked with the platform's own
// implementation: CNG (bcrypt.dll) on Windows, OpenSSL's libcrypto elsewhere.
// A public key is the 65-byte uncompressed point: 0x04, then X and Y, 32 big-endian bytes each.
// A signature is r then s, 32 big-endian bytes each: the form CNG takes and gives.
#pragma once

#include <cstddef>
#include <string>

namespace tk {

constexpr size_t kP256PublicKeySize = 65;
constexpr size_t kP256SignatureSize = 64;

// Whether key is a public key in the form above that the engine takes. CNG under Wine takes a
// point off the curve too, and then verifies no signature under it.
bool IsP256PublicKey(const std::string& key);

// Whether signature signs message (hashed with SHA-256 here) under publicKey. A signature of
// the wrong size, or one that does not verify, is false. ECryptoError when publicKey is not in
// the form above or the engine refuses it (OpenSSL and CNG on Windows refuse a point off the
// curve), or when the engine cannot check signatures at all.
bool VerifyP256(const std::string& publicKey, const std::string& message, const std::string& signature);

}  // namespace tk
