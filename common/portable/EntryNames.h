// Rules for entry names that are unpacked into a folder, here and on Windows. A name is GBK; it
// is judged on its UTF-8 form, where no byte of a double-byte character can pass for a
// separator (a GBK trail byte may be 0x5C, '\'). Both '/' and '\' separate components.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pub {

// An entry name judged and taken apart, from one conversion to UTF-8.
struct EntryName {
  // In UTF-8; a trailing separator (a folder entry's "name/") adds none. None when the name is
  // no GBK text; meant for names without a problem.
  std::vector<std::string> components;
  bool endsInSeparator = false;  // the name is a folder's rather than a file's
  std::string problem;           // why it cannot be unpacked safely, or ""
};

EntryName ParseEntryName(const std::string& gbkName, uint16_t kind);

// Single parts of ParseEntryName; the components and the trailing separator do not depend on kind.
std::string NameProblem(const std::string& gbkName, uint16_t kind);
std::vector<std::string> NameComponents(const std::string& gbkName);
bool EndsInSeparator(const std::string& gbkName);

}  // namespace pub
