#include "common/portable/PathText.h"

#include <algorithm>

#include "common/portable/GbkText.h"

namespace pub {

void ReplaceChar(char from, char to, std::string& text) { std::replace(text.begin(), text.end(), from, to); }

std::string LastPathComponent(const std::string& path) {
  size_t separator = LastDelimiter(path, "\\");
  if (separator == std::string::npos) return std::string();
  return path.substr(separator + 1);
}

std::string WithoutTrailingBackslash(const std::string& path) {
  if (path.empty() || LastDelimiter(path, "\\") != path.size() - 1) return path;
  return path.substr(0, path.size() - 1);
}

}  // namespace pub
