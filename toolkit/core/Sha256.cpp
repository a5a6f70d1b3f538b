#include "toolkit/core/Sha256.h"

namespace tk {

Sha256Digest Sha256Of(const std::string& bytes) {
  Sha256 hash;
  hash.Update(bytes);
  return hash.Finish();
}

std::string HexText(const uint8_t* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

}  // namespace tk
