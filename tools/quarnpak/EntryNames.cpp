#include "tools/quarnpak/EntryNames.h"

#include <cctype>
#include <cstring>

#include "toolkit/core/CodePage.h"

namespace qp {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string> Split(const std::string& utf8) {
  std::vector<std::string> parts(1);
  for (char c : utf8) {
    if (IsSeparator(c))
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

std::string Upper(const std::string& text) {
  std::string upper;
  for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Windows opens a device, not a file, for these names, with or without an extension.
bool IsDeviceName(const std::string& component) {
  std::string base = Upper(component.substr(0, component.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (base == device) return true;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0))
    return base[3] >= '1' && base[3] <= '9';
  return false;
}

std::string ComponentProblem(const std::string& component) {
  if (component.empty()) return "empty path component";
  if (component == "..") return "\"..\" component leaves the target folder";
  if (component == ".") return "\".\" component";
  for (unsigned char c : component) {
    if (c < 0x20 || c == 0x7F) return "control character in name";
    if (std::strchr("<>\"|?*", c)) return "character Windows does not allow in file names";
  }
  // Windows drops trailing dots and blanks, so the file would land under another name.
  char last = component.back();
  if (last == '.' || last == ' ') return "component ends in a dot or blank";
  if (IsDeviceName(component)) return "Windows device name";
  return "";
}

}  // namespace

bool EndsInSeparator(const std::string& gbkName) {
  // Judged on UTF-8: a last byte 0x5C may be the trail byte of a GBK character.
  std::string utf8;
  return tk::GbkToUtf8(gbkName, &utf8) && !utf8.empty() && IsSeparator(utf8.back());
}

std::string NameProblem(const std::string& gbkName, uint16_t kind) {
  if (gbkName.empty()) return "empty name";
  std::string utf8;
  if (!tk::GbkToUtf8(gbkName, &utf8)) return "name is not valid GBK text";
  if (IsSeparator(utf8.front())) return "absolute name (leading separator)";
  if (utf8.find(':') != std::string::npos) return "drive or stream name (':')";
  std::vector<std::string> parts = Split(utf8);
  if (parts.back().empty()) {
    // "name/" names a folder: fine for a listed-only entry, no file can be written there.
    if (kind == 0) return "file entry ends in a separator";
    parts.pop_back();
  }
  for (const std::string& part : parts) {
    std::string problem = ComponentProblem(part);
    if (!problem.empty()) return problem;
  }
  return "";
}

std::vector<std::string> NameComponents(const std::string& gbkName) {
  std::string utf8;
  if (!tk::GbkToUtf8(gbkName, &utf8)) return {};
  std::vector<std::string> parts = Split(utf8);
  if (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace qp
