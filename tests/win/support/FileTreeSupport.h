// Files, folders, the current directory and progress controls for the utilities' tests.
// Paths are GBK texts, as in the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win/ControlsProgress.h"
#include "tests/win/support/WinTestSupport.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"

namespace testing_support {

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// Creates the folder and any missing parents.
void MakeFolders(const std::string& path);
// The names in a folder, sorted, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);
// Every file below folder as "relative\path=content", sorted.
std::vector<std::string> TreeContents(const std::string& folder);

// A small product tree at root: "運" ends in the byte 0x5C, which is no separator. Its
// TreeContents are kProductTree.
void MakeProduct(const std::string& root);
extern const std::vector<std::string> kProductTree;

std::string CurrentDir();
// A folder path as TempFolder::Path() gives it, without its trailing backslash.
inline std::string NoSlash(const std::string& path) { return path.substr(0, path.size() - 1); }
void ChangeDir(const std::string& path);

// Puts the current directory back when the test ends, however it ends.
class CurrentDirGuard {
 public:
  CurrentDirGuard();
  ~CurrentDirGuard();
  CurrentDirGuard(const CurrentDirGuard&) = delete;
  CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

 private:
  std::wstring saved_;
};

// An application and a form holding a gauge, a caption label and a log memo, as a run uses.
struct ProgressControls {
  ProgressControls();
  ~ProgressControls();
  ProgressControls(const ProgressControls&) = delete;
  ProgressControls& operator=(const ProgressControls&) = delete;

  tk::Application application;
  tk::Form* form;
  tk::Gauge* gauge;
  tk::Label* label;
  tk::Memo* memo;
  // The three above, as a run shows its progress.
  pub::Progress* progress() { return shown.get(); }
  std::unique_ptr<pub::ControlsProgress> shown;
};

bool RunningUnderWine();

// Under Wine: an empty folder made the root of a drive of its own (a free letter linked in
// the prefix's dosdevices). A drive root lists neither "." nor "..", so listing an empty one
// fails, which no folder can be made to do for a test running with every right. Ready() is
// false elsewhere or when no letter was free.
class EmptyDriveRoot {
 public:
  EmptyDriveRoot();
  ~EmptyDriveRoot();
  EmptyDriveRoot(const EmptyDriveRoot&) = delete;
  EmptyDriveRoot& operator=(const EmptyDriveRoot&) = delete;

  bool Ready() const { return !root_.empty(); }
  const std::string& Root() const { return root_; }          // "Q:\"
  const std::string& Folder() const { return folder_; }      // the folder behind it, ends in '\'

 private:
  std::string root_, folder_, linkUnixPath_;
  std::unique_ptr<TempFolder> holder_;
};

// A folder link at link (which must not exist) to target. Under Wine a Unix symbolic link,
// which Wine lists as a folder with the reparse-point attribute; elsewhere a symbolic link.
bool MakeFolderLink(const std::string& link, const std::string& target);
// Removes such a link. Wine removes a link's target, never the link, through every Win32 call.
void RemoveFolderLink(const std::string& link);

}  // namespace testing_support
