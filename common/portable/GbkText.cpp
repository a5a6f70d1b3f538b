#include "common/portable/GbkText.h"

namespace pub {

size_t LastDelimiter(const std::string& text, const std::string& delimiters) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsGbkLeadByte(c) && i + 1 < text.size()) {
      ++i;  // the trail byte belongs to this character
      continue;
    }
    if (delimiters.find(static_cast<char>(c)) != std::string::npos) found = i;
  }
  return found;
}

size_t GbkCharacterCount(const std::string& text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i, ++count)
    if (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  return count;
}

}  // namespace pub
