// SHA-256 fed in pieces, from the platform's own implementation: CNG (bcrypt.dll) on Windows,
// OpenSSL's libcrypto elsewhere. ECryptoError when the engine refuses a call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tk {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  void Update(const std::string& bytes) { Update(bytes.data(), bytes.size()); }
  // The digest of everything fed since construction or the last Finish; starts afresh.
  Sha256Digest Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

Sha256Digest Sha256Of(const std::string& bytes);
// Lower-case hexadecimal, two digits a byte.
std::string HexText(const uint8_t* bytes, size_t size);
inline std::string HexText(const Sha256Digest& digest) { return HexText(digest.data(), digest.size()); }

}  // namespace tk
