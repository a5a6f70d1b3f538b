#include "tools/quarnpak/Texts.h"

#include <cstring>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace qp {
namespace {

std::string Escaped(const std::string& text, bool escapeHighBytes) {
  std::string shown;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F || (escapeHighBytes && c >= 0x80))
      shown += tk::Format("\\x%02X", static_cast<unsigned>(c));
    else
      shown += static_cast<char>(c);
  }
  return shown;
}

}  // namespace

std::string ShowGbk(const std::string& gbk) {
  std::string utf8;
  if (tk::GbkToUtf8(gbk, &utf8)) return Escaped(utf8, false);
  return Escaped(gbk, true);
}

std::string ShowPath(const std::filesystem::path& path) {
  // u8string keeps a POSIX path's bytes as they are and converts a Windows path from UTF-16.
  return Escaped(path.u8string(), false);
}

std::string Quoted(const std::string& utf8) { return "\"" + Escaped(utf8, false) + "\""; }

std::string EntryLabel(int32_t index, const std::string& gbkName) {
  return "entry " + std::to_string(index) + " " + Quoted(ShowGbk(gbkName));
}

std::string SystemReason(int errorNumber) { return std::strerror(errorNumber); }

}  // namespace qp
