#include "setup/portable/PlacedFiles.h"

#include <cstdlib>

#include "common/portable/GbkCase.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/TextLines.h"

namespace pub {
namespace {

constexpr const char* kFormatLine = "quarn placed files 1";

bool ParseNumber(const std::string& text, uint64_t* value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 20) return false;
  char* end = nullptr;
  *value = std::strtoull(text.c_str(), &end, 10);
  return end && *end == 0;
}

}  // namespace

std::string FormatPlacedFiles(const std::vector<PlacedFile>& files) {
  std::string text = std::string(kFormatLine) + "\r\n";
  for (const PlacedFile& file : files) {
    std::string path;
    if (!tk::GbkToUtf8(file.path, &path)) continue;  // a name the list cannot hold is not listed
    if (file.pending)
      text += "*\t*\t" + path + "\r\n";
    else
      text += std::to_string(file.facts.size) + "\t" + std::to_string(file.facts.writeTime) + "\t" + path + "\r\n";
  }
  return text;
}

std::optional<std::vector<PlacedFile>> ParsePlacedFiles(const std::string& utf8) {
  std::vector<std::string> lines = tk::SplitTextLines(utf8);
  if (lines.empty() || lines[0] != kFormatLine) return std::nullopt;
  std::vector<PlacedFile> files;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const size_t first = lines[i].find('\t');
    const size_t second = first == std::string::npos ? first : lines[i].find('\t', first + 1);
    if (second == std::string::npos) return std::nullopt;
    PlacedFile file;
    file.pending = lines[i].compare(0, second + 1, "*\t*\t") == 0;
    if (file.pending) {
      if (!tk::Utf8ToGbk(lines[i].substr(second + 1), &file.path) || file.path.empty()) return std::nullopt;
      files.push_back(file);
      continue;
    }
    if (!ParseNumber(lines[i].substr(0, first), &file.facts.size) ||
        !ParseNumber(lines[i].substr(first + 1, second - first - 1), &file.facts.writeTime) ||
        !tk::Utf8ToGbk(lines[i].substr(second + 1), &file.path) || file.path.empty())
      return std::nullopt;
    files.push_back(file);
  }
  return files;
}

KeepRule KeepRule::FromList(const std::vector<PlacedFile>& files) {
  KeepRule rule;
  rule.haveList_ = true;
  for (const PlacedFile& file : files) rule.entries_[GbkUpperCase(file.path)] = file;
  return rule;
}

KeepRule KeepRule::WithoutList() { return KeepRule(); }

bool KeepRule::Keep(const std::string& path, const FileFacts& found) const {
  if (!haveList_) return GbkUpperCase(path).rfind("MYSQL5\\DATA\\", 0) == 0;
  const PlacedFile* entry = Entry(path);
  if (entry && entry->pending) return false;
  return !entry || !(entry->facts == found);
}

const PlacedFile* KeepRule::Entry(const std::string& path) const {
  auto found = entries_.find(GbkUpperCase(path));
  return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace pub
