#include "common/portable/FileCountRule.h"
#include "common/win/FileTree.h"
#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"

namespace pub {
namespace {

int CountLevel(const std::wstring& folder) {
  if (!tk::FolderExists(folder)) return 0;
  walk::ChangeDirectory(folder);
  int count = 0;
  {
    walk::Listing listing;
    while (listing.Next()) {
      if (listing.IsFolder()) {
        walk::ProcessPendingMessages();
        count += CountLevel(walk::JoinPath(folder, listing.Entry().cFileName));
      } else if (IsCountedFile(listing.Entry().dwFileAttributes)) {
        ++count;
      }
    }
  }
  // Each level steps back up, so the outermost one leaves the cursor at the folder's parent.
  walk::ChangeDirectory(L"..\\");
  return count;
}

}  // namespace

int CountFiles(const std::string& folder) {
  if (folder.empty()) return 0;
  return CountLevel(walk::AbsolutePath(tk::ToWide(folder)));
}

}  // namespace pub
