// Whether an archive entry's name stays inside the folder it is unpacked into.
#pragma once

#include <string>

namespace pub {

// name uses '\' as separator (GBK). Refused: a leading '\' or '/', any ':' (a drive, or a
// stream), and any ".." component. A trail byte 0x5C of a double-byte character separates
// nothing, as Windows reads the name.
bool IsSafeEntryName(const std::string& name);

}  // namespace pub
