// GBK conversion with glibc's iconv and its CP936 table, the Windows flavour of GBK.
#include <iconv.h>

#include <cerrno>
#include <vector>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/GbkCodec.h"

namespace tk {
namespace {

bool Convert(const char* to, const char* from, const std::string& in, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = buffer.data();
  size_t dstLeft = buffer.size();
  bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
  iconv_close(cd);
  if (ok) out->assign(buffer.data(), buffer.size() - dstLeft);
  return ok;
}

// UTF-16 units as little-endian bytes, the form iconv is told ("UTF-16LE"), whatever the host.
std::string LittleEndianBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string FromLittleEndianBytes(const std::string& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  return text;
}

}  // namespace

bool EncodeGbk(const std::u16string& text, std::string* gbk) {
  return Convert("CP936", "UTF-16LE", LittleEndianBytes(text), gbk);
}

bool DecodeGbk(const std::string& gbk, std::u16string* text) {
  std::string bytes;
  if (!Convert("UTF-16LE", "CP936", gbk, &bytes)) return false;
  *text = FromLittleEndianBytes(bytes);
  return true;
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
  std::string bytes;
  return Convert("UTF-16LE", "UTF-8", utf8, &bytes) && Utf16ToGbk(FromLittleEndianBytes(bytes), gbk);
}

bool GbkToUtf8(const std::string& gbk, std::string* utf8) { return Convert("UTF-8", "CP936", gbk, utf8); }

}  // namespace tk
