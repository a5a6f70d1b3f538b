#include "tools/quarnpak/Links.h"

#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {

bool IsLink(const std::filesystem::path&, const std::filesystem::path& child) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::symlink_status(child, ec);
  if (ec) throw ToolError("cannot read " + ShowPath(child) + ": " + ec.message());
  return std::filesystem::is_symlink(status);
}

}  // namespace qp
