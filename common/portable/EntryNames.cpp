#include "common/portable/EntryNames.h"

#include <cctype>
#include <cstring>

#include "pak/PakGlobals.h"
#include "toolkit/core/CodePage.h"

namespace pub {
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

// The problem of a name that is GBK text, taken apart into name's components.
std::string NameTextProblem(const std::string& utf8, const EntryName& name, uint16_t kind) {
  if (IsSeparator(utf8.front())) return "absolute name (leading separator)";
  if (utf8.find(':') != std::string::npos) return "drive or stream name (':')";
  // "name/" names a folder: fine for a listed-only entry, no file can be written there.
  if (name.endsInSeparator && kind == pak::kKindFile) return "file entry ends in a separator";
  for (const std::string& component : name.components) {
    std::string problem = ComponentProblem(component);
    if (!problem.empty()) return problem;
  }
  return "";
}

}  // namespace

EntryName ParseEntryName(const std::string& gbkName, uint16_t kind) {
  EntryName name;
  if (gbkName.empty()) {
    name.problem = "empty name";
    return name;
  }
  std::string utf8;
  if (!tk::GbkToUtf8(gbkName, &utf8)) {
    name.problem = "name is not valid GBK text";
    return name;
  }
  name.components = Split(utf8);
  name.endsInSeparator = name.components.back().empty();
  if (name.endsInSeparator) name.components.pop_back();
  name.problem = NameTextProblem(utf8, name, kind);
  return name;
}

std::string NameProblem(const std::string& gbkName, uint16_t kind) { return ParseEntryName(gbkName, kind).problem; }

std::vector<std::string> NameComponents(const std::string& gbkName) {
  return ParseEntryName(gbkName, pak::kKindFile).components;
}

bool EndsInSeparator(const std::string& gbkName) { return ParseEntryName(gbkName, pak::kKindFile).endsInSeparator; }

}  // namespace pub
