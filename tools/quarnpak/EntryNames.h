// Rules for entry names that are unpacked into a folder, here and on Windows. A name is GBK; it
// is judged on its UTF-8 form, where no byte of a double-byte character can pass for a
// separator (a GBK trail byte may be 0x5C, '\'). Both '/' and '\' separate components.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qp {

// Why the name of an entry of this kind cannot be unpacked safely, or "" when it can.
std::string NameProblem(const std::string& gbkName, uint16_t kind);

// The components of a name NameProblem accepts, in UTF-8. A trailing separator (a folder
// entry's "name/") adds no component.
std::vector<std::string> NameComponents(const std::string& gbkName);

// Whether a name ends in a separator, i.e. names a folder rather than a file.
bool EndsInSeparator(const std::string& gbkName);

}  // namespace qp
