#include "toolkit/core/CodePage.h"

#include "toolkit/core/GbkCodec.h"

namespace tk {

bool Utf16ToGbk(const std::u16string& text, std::string* gbk) {
  std::string encoded;
  std::u16string back;
  if (!EncodeGbk(text, &encoded) || !DecodeGbk(encoded, &back) || back != text) return false;
  *gbk = std::move(encoded);
  return true;
}

}  // namespace tk
