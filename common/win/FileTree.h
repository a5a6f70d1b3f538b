// Copying and deleting folder trees, reporting each file to a Progress (none when
// null). Paths are GBK texts with '\' as separator. The walks let pending window messages run
// as they go (at a human rate, not per file). Every walk names each entry by its full path and
// leaves the process current folder where it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/portable/Progress.h"

namespace pub {

// One file (or folder) that did not reach the destination.
struct CopyFailure {
  std::string target;   // the path that should have been written
  uint32_t errorCode;   // the system's error code
  std::string message;  // the system's text for it
};

// Copies the tree of source into destination, creating folders as needed and replacing files
// that are there. Per file, in this order: the copy, one step advanced, status = target, log
// line "copy:" + target, messages run. A file that fails to copy still takes those steps and
// the walk goes on; every failure is added to failures when given. False for an empty source
// or destination, a source that cannot be listed, or any failure. A source folder that does not
// exist, or is a file, raises tk::EInOutError before anything is created.
bool CopyFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                    std::vector<CopyFailure>* failures = nullptr);
// The same walk for files that may be moved: each file is renamed into place, replacing an
// existing target, and copied instead when it cannot be moved (for the rest of the walk once
// the system says the folders are on different volumes). A folder whose destination does not
// exist yet is renamed whole and its files are then reported one by one. Reported and
// collected exactly as CopyFolderTree's copies; a moved file leaves the source.
bool MoveFolderTree(const std::string& source, const std::string& destination, Progress* progress,
                    std::vector<CopyFailure>* failures = nullptr);

// Deletes the folder with everything in it, read-only files included; when a progress is
// given, status = entry name and one step advanced per file, and messages run. True when the folder itself was
// removed at the end: false for a missing folder, and also for an empty one, which the walk
// removes before the final removal looks. Refuses, doing nothing, every path that
// IsRefusedTreeDeletePath names (an empty path, a drive, a share root, "..").
// Folder links are removed, never followed. A folder that is the current directory (of this or
// another process) cannot be removed: it stays, emptied, and the result is false.
bool DeleteFolderTree(const std::string& folder, Progress* progress);
// Why a folder that a delete left behind is still there: the first entry in it that cannot be
// removed, with the system's reason (a file in use, access denied). Tries that removal once
// more on the way; "" when the folder is gone by then.
std::string WhyFolderRemains(const std::string& folder);

}  // namespace pub
