// GBK conversion with glibc's iconv and its CP936 table, the Windows flavour of GBK.
#include <iconv.h>

#include <cerrno>
#include <vector>

#include "toolkit/core/CodePage.h"

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

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) { return Convert("CP936", "UTF-8", utf8, gbk); }
bool GbkToUtf8(const std::string& gbk, std::string* utf8) { return Convert("UTF-8", "CP936", gbk, utf8); }

}  // namespace tk
