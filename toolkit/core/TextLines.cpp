#include "toolkit/core/TextLines.h"

namespace tk {

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t end = text.find('\0');
  if (end == std::string::npos) end = text.size();
  size_t start = 0;
  while (start < end) {
    size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string::npos || stop > end) stop = end;
    lines.push_back(text.substr(start, stop - start));
    start = stop;
    if (start < end && text[start] == '\r') ++start;
    if (start < end && text[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace tk
