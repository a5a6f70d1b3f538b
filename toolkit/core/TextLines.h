// Text split into lines and joined again, the way text files and text boxes are read here.
#pragma once

#include <string>
#include <vector>

namespace tk {

// A line ends at CR LF, a lone CR or a lone LF; a NUL byte ends the text. A last line
// without a break still counts; nothing after the last break is no line.
std::vector<std::string> SplitTextLines(const std::string& text);

// Every line followed by CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);

// The text without the blanks and tabs at either end, as a line of a settings file is read.
std::string Trimmed(const std::string& text);

}  // namespace tk
