#include "tools/quarnpak/TreeWalk.h"

#include <algorithm>

#include "pak/PakGlobals.h"
#include "tools/quarnpak/Links.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

[[noreturn]] void Fail(const std::string& what, const fs::path& path, const std::error_code& ec) {
  throw ToolError("cannot " + what + " " + ShowPath(path) + ": " + ec.message());
}

// Adds what folder (resolved to resolvedFolder) holds, names prefixed by prefix; returns how
// many entries that made.
size_t Walk(const fs::path& folder, const fs::path& resolvedFolder, const std::string& prefix, SourceTree* tree) {
  size_t stored = 0;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) Fail("read folder", folder, ec);
  while (it != fs::directory_iterator()) {
    const fs::path& path = it->path();
    std::string name = prefix + path.filename().u8string();
    fs::path resolved;
    bool link = IsLink(resolvedFolder, path, &resolved);
    fs::file_status status = link ? fs::file_status() : it->status(ec);
    if (ec) Fail("read", path, ec);
    if (link) {
      tree->skipped.push_back("left out link (links are not followed): " + name);
    } else if (fs::is_directory(status)) {
      size_t inside = Walk(path, resolved, name + "/", tree);
      if (inside == 0) tree->entries.push_back({name + "/", pak::kKindFolder, fs::path(), 0});
      stored += std::max<size_t>(inside, 1);
    } else if (fs::is_regular_file(status)) {
      uint64_t size = fs::file_size(path, ec);
      if (ec) Fail("read", path, ec);
      tree->entries.push_back({name, pak::kKindFile, path, size});
      ++stored;
    } else {
      tree->skipped.push_back("left out special file (not a regular file): " + name);
    }
    it.increment(ec);
    if (ec) Fail("read folder", folder, ec);
  }
  return stored;
}

}  // namespace

SourceTree WalkSourceTree(const fs::path& root) {
  SourceTree tree;
  Walk(root, ResolvedFolder(root), "", &tree);
  // std::string compares as unsigned bytes: the UTF-8 byte order of the names.
  std::sort(tree.entries.begin(), tree.entries.end(),
            [](const SourceEntry& a, const SourceEntry& b) { return a.name < b.name; });
  return tree;
}

}  // namespace qp
