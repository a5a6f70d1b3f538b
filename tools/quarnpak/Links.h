// Whether a name in a folder leads elsewhere: `create` stores regular files of the tree only
// and never follows a link out of it.
#pragma once

#include <filesystem>

namespace qp {

// Where the system resolves a folder to, worked out once per folder walked and handed to IsLink
// for each of its children: on Windows the folder's final path, elsewhere the path as given.
// ToolError when the folder cannot be examined.
std::filesystem::path ResolvedFolder(const std::filesystem::path& folder);

// True for a symbolic link, and on Windows for any reparse point (junction, mount point) or
// name the system resolves to another place than resolvedFolder (ResolvedFolder of the folder
// holding child). When it is no link, *resolvedChild is what ResolvedFolder would give for
// child, ready for the child's own walk. ToolError when child cannot be examined.
bool IsLink(const std::filesystem::path& resolvedFolder, const std::filesystem::path& child,
            std::filesystem::path* resolvedChild);

}  // namespace qp
