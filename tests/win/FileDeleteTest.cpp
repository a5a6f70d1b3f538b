// DeleteFolderTree: read-only files, missing and empty folders, the current directory inside
// the deleted folder, progress, folder links, and the paths it refuses.
#include <gtest/gtest.h>

#include "common/win/FileTree.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

using namespace testing_support;
using pub::DeleteFolderTree;

namespace {

void MakeTree(const std::string& root) {
  MakeFolders(root + "\\sub\\deep");
  MakeFolders(root + "\\empty");
  WriteBytes(root + "\\a.txt", "a");
  WriteBytes(root + "\\readonly.txt", "r");
  WriteBytes(root + "\\sub\\hidden.txt", "h");
  WriteBytes(root + "\\sub\\deep\\b.txt", "b");
  SetFileAttributesW(tk::ToWide(root + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(tk::ToWide(root + "\\sub\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(tk::ToWide(root + "\\sub\\deep").c_str(), FILE_ATTRIBUTE_READONLY);
}

}  // namespace

TEST(DeleteFolderTree, RemovesATreeWithReadOnlyFilesAndReportsEachFile) {
  TempFolder temp;
  CurrentDirGuard guard;
  ProgressControls ui;
  MakeTree(temp.Path() + "product");
  ChangeDir(temp.Path());
  EXPECT_TRUE(DeleteFolderTree(temp.Path() + "product\\", ui.progress()));
  EXPECT_FALSE(PathExists(temp.Path() + "product"));
  EXPECT_EQ(ui.gauge->Progress(), 4);
  // The label shows bare entry names.
  const std::string last = ui.label->Caption();
  EXPECT_TRUE(last == "a.txt" || last == "readonly.txt" || last == "hidden.txt" || last == "b.txt") << last;
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}

TEST(DeleteFolderTree, WithoutAGaugeTheLabelIsNotTouched) {
  ProgressControls ui;
  TempFolder temp;
  MakeTree(temp.Path() + "staging");
  ui.label->SetCaption("unchanged");
  EXPECT_TRUE(DeleteFolderTree(temp.Path() + "staging", nullptr));
  EXPECT_FALSE(PathExists(temp.Path() + "staging"));
  EXPECT_EQ(ui.label->Caption(), "unchanged");
}

TEST(DeleteFolderTree, AMissingFolderDoesNothingAndAnEmptyOneIsRemovedYetGivesFalse) {
  TempFolder temp;
  CurrentDirGuard guard;
  ChangeDir(temp.Path());
  EXPECT_FALSE(DeleteFolderTree(temp.Path() + "missing", nullptr));
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>());
  MakeFolders(temp.Path() + "empty");
  // The walk removes the empty folder itself; the final removal then finds nothing.
  EXPECT_FALSE(DeleteFolderTree(temp.Path() + "empty", nullptr));
  EXPECT_FALSE(PathExists(temp.Path() + "empty"));
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}

TEST(DeleteFolderTree, TheCurrentDirectoryInsideTheFolderStaysAndNothingRaises) {
  TempFolder temp;
  CurrentDirGuard guard;
  const std::string root = temp.Path() + "product";

  // The folder itself: emptied, but a current directory cannot be removed.
  MakeTree(root);
  ChangeDir(root);
  EXPECT_FALSE(DeleteFolderTree(root, nullptr));
  EXPECT_TRUE(IsFolder(root));
  EXPECT_TRUE(FolderNames(root).empty());
  EXPECT_EQ(CurrentDir(), root);

  // An empty folder that is current: kept, so the process still stands somewhere.
  EXPECT_FALSE(DeleteFolderTree(root, nullptr));
  EXPECT_TRUE(IsFolder(root));
  EXPECT_EQ(CurrentDir(), root);

  ChangeDir(temp.Path());
  RemoveDirectoryW(tk::ToWide(root).c_str());
  MakeTree(root);
  // A folder deeper inside: everything else goes, the way to the current directory stays.
  ChangeDir(root + "\\sub\\deep");
  EXPECT_FALSE(DeleteFolderTree(root, nullptr));
  EXPECT_EQ(CurrentDir(), root + "\\sub\\deep");
  EXPECT_EQ(FolderNames(root), std::vector<std::string>{"sub"});
  EXPECT_EQ(FolderNames(root + "\\sub"), std::vector<std::string>{"deep"});
  EXPECT_TRUE(FolderNames(root + "\\sub\\deep").empty());
}

// A link inside the tree must not be walked into: that would empty a folder outside it.
TEST(DeleteFolderTree, AFolderLinkIsNotFollowedAndWhatItPointsAtIsKept) {
  TempFolder temp;
  const std::string outside = temp.Path() + "outside", root = temp.Path() + "product";
  MakeFolders(outside + "\\data");
  WriteBytes(outside + "\\keep.txt", "keep");
  WriteBytes(outside + "\\data\\keep.txt", "keep");
  MakeFolders(root + "\\sub");
  WriteBytes(root + "\\a.txt", "a");
  if (!MakeFolderLink(root + "\\sub\\link", outside)) GTEST_SKIP() << "no folder links here";
  MakeFolders(temp.Path() + "holder");
  ASSERT_TRUE(MakeFolderLink(temp.Path() + "holder\\link", outside));

  bool removed = DeleteFolderTree(root, nullptr);
  bool removedAlone = DeleteFolderTree(temp.Path() + "holder\\link", nullptr);
  EXPECT_EQ(TreeContents(outside), std::vector<std::string>({"data\\", "data\\keep.txt=keep", "keep.txt=keep"}));
  EXPECT_FALSE(PathExists(root + "\\a.txt"));
  if (RunningUnderWine()) {
    // Wine cannot remove the link itself, so the folder holding it stays and says so.
    EXPECT_FALSE(removed);
    RemoveFolderLink(root + "\\sub\\link");
    RemoveFolderLink(temp.Path() + "holder\\link");
  } else {
    EXPECT_TRUE(removed);
    EXPECT_TRUE(removedAlone);
    EXPECT_FALSE(PathExists(root));
  }
}

TEST(DeleteFolderTree, RefusesEmptyRootAndClimbingPathsAndTouchesNothing) {
  TempFolder temp;
  CurrentDirGuard guard;
  const std::string keep = temp.Path() + "keep";
  MakeFolders(keep + "\\inner");
  WriteBytes(keep + "\\sentinel.txt", "s");
  ChangeDir(keep + "\\inner");
  for (const std::string& path : {std::string(), std::string("."), std::string(".."), std::string("..\\inner\\.."),
                                   keep + "\\inner\\..", keep + "\\inner\\..\\", std::string("\\\\localhost\\c$"),
                                   std::string("\\\\localhost\\c$\\")})
    EXPECT_FALSE(DeleteFolderTree(path, nullptr)) << path;
  EXPECT_EQ(ReadBytes(keep + "\\sentinel.txt"), "s");
  EXPECT_TRUE(IsFolder(keep + "\\inner"));
}

// Drive roots are tried on a drive of the test's own, which holds one file to lose.
TEST(DeleteFolderTree, RefusesADriveRoot) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs a drive of its own (Wine)";
  CurrentDirGuard guard;
  WriteBytes(drive.Folder() + "sentinel.txt", "s");
  MakeFolders(drive.Folder() + "inner");
  const std::string letter = drive.Root().substr(0, 2);  // "Q:"
  ChangeDir(drive.Root() + "inner");
  for (const std::string& path : {letter, letter + "\\", letter + "/", std::string("\\"), std::string("/"),
                                  "\\\\?\\" + letter + "\\", "\\\\.\\" + letter})
    EXPECT_FALSE(DeleteFolderTree(path, nullptr)) << path;
  EXPECT_EQ(ReadBytes(drive.Folder() + "sentinel.txt"), "s");
  EXPECT_TRUE(IsFolder(drive.Folder() + "inner"));
}
