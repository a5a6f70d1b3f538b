// Whether a name in a folder leads elsewhere: `create` stores regular files of the tree only
// and never follows a link out of it.
#pragma once

#include <filesystem>

namespace qp {

// True for a symbolic link, and on Windows for any reparse point (junction, mount point) or
// name the system resolves to another place. ToolError when child cannot be examined.
bool IsLink(const std::filesystem::path& folder, const std::filesystem::path& child);

}  // namespace qp
