#include "common/portable/TreeDeleteGuard.h"

#include <vector>

#include "common/portable/GbkText.h"

namespace pub {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components between separators, empty ones included.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsGbkLeadByte(c) && i + 1 < path.size()) {
      parts.back().append(path, i, 2);
      ++i;
    } else if (IsSeparator(path[i])) {
      parts.emplace_back();
    } else {
      parts.back().push_back(path[i]);
    }
  }
  return parts;
}

bool OnlyDotsAndBlanks(const std::string& part) {
  return part.find_first_not_of(". ") == std::string::npos;
}

bool IsDrive(const std::string& part) {
  return part.size() == 2 && part[1] == ':' &&
         ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

}  // namespace

bool IsRefusedTreeDeletePath(const std::string& path) {
  std::vector<std::string> parts = Components(path);
  size_t next = 0;  // first component below the root
  size_t rootParts = 0;

  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // "\\server\share", "\\?\X:", "\\.\X:" or "\\?\UNC\server\share": parts[0] and [1] are empty.
    next = 2;
    bool device = parts.size() > 2 && (parts[2] == "?" || parts[2] == ".");
    if (device) {
      ++next;
      rootParts = (parts.size() > next && EqualsNoCase(parts[next], "UNC")) ? 3 : 1;
    } else {
      rootParts = 2;  // server and share
    }
  } else if (parts[0].size() >= 2 && IsDrive(parts[0].substr(0, 2))) {
    // "X:" alone is the drive's current folder, "X:\" its root, "X:name" a folder below either.
    if (parts[0].size() > 2) {
      parts[0] = parts[0].substr(2);
    } else {
      next = 1;
    }
  }

  // The root's own components must all be there and be real names.
  size_t named = 0;
  for (; named < rootParts; ++named) {
    size_t at = next + named;
    if (at >= parts.size() || parts[at].empty() || OnlyDotsAndBlanks(parts[at])) return true;
  }
  next += rootParts;

  bool anyName = false;
  for (size_t i = next; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.empty() || part == ".") continue;
    if (OnlyDotsAndBlanks(part)) return true;
    anyName = true;
  }
  return !anyName;
}

}  // namespace pub
