#include "common/portable/TextLines.h"

#include "common/portable/GbkCase.h"
#include "common/portable/GbkText.h"

namespace pub {

std::string ReplaceAllIgnoreCase(const std::string& text, const std::string& pattern,
                                 const std::string& replacement) {
  if (pattern.empty()) return text;
  // Upper-casing keeps every byte in its place, so a match found in the copy is the same
  // stretch of the original.
  const std::string upperText = GbkUpperCase(text);
  const std::string upperPattern = GbkUpperCase(pattern);
  std::string result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (upperText.compare(i, upperPattern.size(), upperPattern) == 0) {
      result += replacement;
      i += upperPattern.size();
      continue;
    }
    size_t length = IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    result.append(text, i, length);
    i += length;
  }
  return result;
}

std::string PatchedFileText(const std::string& content, const std::string& pattern,
                            const std::string& replacement) {
  std::string joined = JoinTextLines(SplitTextLines(content));
  return JoinTextLines(SplitTextLines(ReplaceAllIgnoreCase(joined, pattern, replacement)));
}

}  // namespace pub
