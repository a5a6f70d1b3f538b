// The whole-file text rewrite of configuration files, without the file: lines are read the
// way text files are read here, one text is replaced throughout regardless of letter case,
// and the lines are written back with CR LF.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/TextLines.h"

namespace pub {

using tk::JoinTextLines;
using tk::SplitTextLines;

// Replaces every occurrence of pattern, compared on GbkUpperCase copies, so ASCII and GBK
// double-byte letters match in any case. Matches start only at a character, run left to
// right and never overlap; the replacement is inserted as given and not searched again.
// An empty pattern matches nothing.
std::string ReplaceAllIgnoreCase(const std::string& text, const std::string& pattern,
                                 const std::string& replacement);

// The new content of a file whose content was given: lines joined with CR LF, the pattern
// replaced, and the result split and joined again, so every line ends in CR LF.
std::string PatchedFileText(const std::string& content, const std::string& pattern,
                            const std::string& replacement);

}  // namespace pub
