#include "tools/quarnpak/Links.h"

#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {

// A symbolic link is seen for what it is here, so the folder's place does not matter.
std::filesystem::path ResolvedFolder(const std::filesystem::path& folder) { return folder; }

bool IsLink(const std::filesystem::path&, const std::filesystem::path& child, std::filesystem::path* resolvedChild) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::symlink_status(child, ec);
  if (ec) throw ToolError("cannot read " + ShowPath(child) + ": " + ec.message());
  *resolvedChild = child;
  return std::filesystem::is_symlink(status);
}

}  // namespace qp
