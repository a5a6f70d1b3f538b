#include "tools/quarnpak/EntryChecks.h"

#include <algorithm>
#include <map>

#include "tools/quarnpak/EntryNames.h"
#include "tools/quarnpak/Texts.h"

namespace qp {
namespace {

// Only data that unpacking reads must lie inside the file: an empty entry, or one of another
// kind than 0, reads nothing, whatever its offset.
std::string RangeProblem(const pak::TkexPakDirectoryItem& item, uint64_t fileSize) {
  if (item.Kind != 0 || item.DataSize == 0) return "";
  uint64_t end = uint64_t{item.DataOffset} + item.DataSize;  // no 32-bit wrap-around
  if (end <= fileSize) return "";
  return "data (offset " + std::to_string(item.DataOffset) + ", " + std::to_string(item.DataSize) +
         " bytes) run past the end of the file (" + std::to_string(fileSize) + " bytes)";
}

// Folded as Windows compares names, so that "A/x" and a file "a" collide there too.
std::string FoldedPath(const std::vector<std::string>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) {
    for (char c : parts[i]) path += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    path += '/';
  }
  return path;
}

// A file and a folder cannot share a path: unpacking would fail half-way.
void CheckFileFolderClashes(const pak::TkexPakDirectory& directory, std::vector<EntryProblem>* problems) {
  std::map<std::string, int32_t> files, folders;  // path -> first entry needing it
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    std::string name = item.NameText();
    std::vector<std::string> parts = NameComponents(name);
    bool isFile = item.Kind == 0;
    size_t folderDepth = isFile || !EndsInSeparator(name) ? parts.size() - 1 : parts.size();
    for (size_t depth = 1; depth <= folderDepth; ++depth) folders.emplace(FoldedPath(parts, depth), i);
    if (isFile) files.emplace(FoldedPath(parts, parts.size()), i);
  }
  for (const auto& [path, index] : files) {
    auto folder = folders.find(path);
    if (folder == folders.end()) continue;
    std::string other = directory.Item(folder->second).NameText();
    problems->push_back({index, directory.Item(index).NameText(),
                         "file stands where entry " + std::to_string(folder->second) + " " + Quoted(ShowGbk(other)) +
                             " needs a folder"});
  }
}

}  // namespace

std::vector<EntryProblem> CheckEntries(const pak::TkexPakDirectory& directory, uint64_t fileSize) {
  std::vector<EntryProblem> problems;
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    std::string name = item.NameText();
    std::string problem = NameProblem(name, item.Kind);
    if (problem.empty()) problem = RangeProblem(item, fileSize);
    if (!problem.empty()) problems.push_back({i, name, problem});
  }
  // Clashes are judged between names that are sound on their own.
  if (problems.empty()) CheckFileFolderClashes(directory, &problems);
  std::stable_sort(problems.begin(), problems.end(),
                   [](const EntryProblem& a, const EntryProblem& b) { return a.index < b.index; });
  return problems;
}

std::string Describe(const EntryProblem& problem) {
  return "entry " + std::to_string(problem.index) + " " + Quoted(ShowGbk(problem.name)) + ": " + problem.problem;
}

}  // namespace qp
