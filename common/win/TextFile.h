// Rewriting a whole text file with one text replaced throughout.
#pragma once

#include <string>

namespace pub {

// Reads the file (other writers shut out), replaces every occurrence of find regardless of
// letter case, and writes it back with CR LF after every line, also when nothing matched.
// The new content goes to a temporary file in the same folder that then replaces the
// original in one step, so a failure at any point leaves the original exactly as it was and
// no temporary file behind. A file that cannot be read raises tk::EFOpenError; one that
// cannot be written raises tk::EFCreateError or tk::EWriteError.
void ReplaceInTextFile(const std::string& fileName, const std::string& find, const std::string& replacement);

}  // namespace pub
