#include "tools/quarnpak/EntryChecks.h"

#include <algorithm>
#include <map>

#include "common/portable/GbkCase.h"
#include "pak/PakGlobals.h"
#include "toolkit/core/CodePage.h"
#include "common/portable/EntryNames.h"
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

// Folded as Windows compares names, so that "A/x" and a file "a", or full-width "Ａ/x" and
// "ａ", collide there too. The key is GBK: component comes from a GBK name and converts back.
std::string Folded(const std::string& component) {
  std::string gbk;
  tk::Utf8ToGbk(component, &gbk);
  return pub::GbkUpperCase(gbk);
}

// A file and a folder cannot share a path: unpacking would fail half-way. names are the
// directory's names, each without a problem.
void CheckFileFolderClashes(const pak::TkexPakDirectory& directory, const std::vector<pub::EntryName>& names,
                            std::vector<EntryProblem>* problems) {
  std::map<std::string, int32_t> files, folders;  // folded path -> first entry needing it
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const std::vector<std::string>& parts = names[i].components;
    bool isFile = directory.Item(i).Kind == pak::kKindFile;
    size_t folderDepth = isFile || !names[i].endsInSeparator ? parts.size() - 1 : parts.size();
    std::string path;
    for (size_t depth = 1; depth <= parts.size(); ++depth) {
      path += Folded(parts[depth - 1]) + '/';
      if (depth <= folderDepth) folders.emplace(path, i);
    }
    if (isFile) files.emplace(path, i);
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
  std::vector<pub::EntryName> names;
  names.reserve(directory.Count());
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    std::string name = item.NameText();
    names.push_back(pub::ParseEntryName(name, item.Kind));
    std::string problem = names.back().problem;
    if (problem.empty()) problem = RangeProblem(item, fileSize);
    if (!problem.empty()) problems.push_back({i, name, problem});
  }
  // Clashes are judged between names that are sound on their own.
  if (problems.empty()) CheckFileFolderClashes(directory, names, &problems);
  std::stable_sort(problems.begin(), problems.end(),
                   [](const EntryProblem& a, const EntryProblem& b) { return a.index < b.index; });
  return problems;
}

std::string Describe(const EntryProblem& problem) {
  return EntryLabel(problem.index, problem.name) + ": " + problem.problem;
}

}  // namespace qp
