// Putting a staged tree in place: moved within a volume, copied across volumes, and a file
// that cannot be moved copied instead, with what is shown and collected the same as a copy's.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/win/FilePlacement.h"
#include "common/win/Volumes.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;
using pub::CopyFailure;

namespace {

std::vector<std::string> SortedMemo(const tk::Memo& memo) {
  std::vector<std::string> lines;
  for (int i = 0; i < memo.LineCount(); ++i) lines.push_back(memo.Line(i));
  std::sort(lines.begin(), lines.end());
  return lines;
}

HANDLE Hold(const std::string& path, DWORD share) {
  return CreateFileW(tk::ToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

TEST(PlaceFolderTree, WithinAVolumeFilesAreMovedAndShownAsCopiesAre) {
  TempFolder temp;
  const std::string staging = temp.Path() + "quarne\\eforum", target = temp.Path() + "安装\\eforum";
  MakeProduct(staging);
  ProgressControls moved;
  std::vector<CopyFailure> failures;
  ASSERT_TRUE(pub::PlaceFolderTree(staging, target, pub::Placement::Move, moved.progress(), &failures));

  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(TreeContents(target), kProductTree);
  // A product not installed yet moves whole: nothing stays behind to delete.
  EXPECT_FALSE(PathExists(staging));
  EXPECT_EQ(moved.gauge->Progress(), 3);
  EXPECT_EQ(SortedMemo(*moved.memo),
            (std::vector<std::string>{"copy:" + target + "\\WEB-INF\\classes\\forum.properties",
                                      "copy:" + target + "\\index.html", "copy:" + target + "\\運\\說明.txt"}));
  EXPECT_EQ("copy:" + moved.label->Caption(), moved.memo->Line(moved.memo->LineCount() - 1));
}

TEST(PlaceFolderTree, IntoAnExistingTreeEachFileIsMovedAndOnlyFoldersStayBehind) {
  TempFolder temp;
  const std::string staging = temp.Path() + "quarne\\eforum", target = temp.Path() + "安装\\eforum";
  MakeProduct(staging);
  MakeFolders(target + "\\WEB-INF");
  WriteBytes(target + "\\index.html", "old");
  ProgressControls ui;
  ASSERT_TRUE(pub::PlaceFolderTree(staging, target, pub::Placement::Move, ui.progress(), nullptr));
  EXPECT_EQ(TreeContents(target), kProductTree);
  EXPECT_EQ(TreeContents(staging), (std::vector<std::string>{"WEB-INF\\"}))
      << "folders already in place are entered; the others move whole";
  EXPECT_EQ(ui.gauge->Progress(), 3);
  EXPECT_EQ(ui.memo->LineCount(), 3);
}

TEST(PlaceFolderTree, ARepairReplacesFilesAndWhatCannotBeMovedIsCopiedOrFailsAsACopyWould) {
  TempFolder temp;
  const std::string staging = temp.Path() + "staging", target = temp.Path() + "target";
  MakeFolders(staging + "\\lib");
  MakeFolders(target + "\\lib");
  for (const char* name : {"a.txt", "read-by-a-program.txt", "locked-target.txt", "lib\\in-lib.txt"})
    WriteBytes(staging + "\\" + name, std::string("new ") + name);
  WriteBytes(target + "\\a.txt", "old");
  WriteBytes(target + "\\locked-target.txt", "old");
  // A staged file another program reads cannot be renamed, but it can be read and copied;
  // an installed file held without sharing can be neither replaced nor overwritten.
  HANDLE reader = Hold(staging + "\\read-by-a-program.txt", FILE_SHARE_READ);
  HANDLE holder = Hold(target + "\\locked-target.txt", 0);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ProgressControls ui;
  std::vector<CopyFailure> failures;
  bool whole = pub::PlaceFolderTree(staging, target, pub::Placement::Move, ui.progress(), &failures);
  CloseHandle(reader);
  CloseHandle(holder);

  EXPECT_FALSE(whole);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].target, target + "\\locked-target.txt");
  EXPECT_NE(failures[0].errorCode, 0u);
  EXPECT_FALSE(failures[0].message.empty());
  EXPECT_EQ(ReadBytes(target + "\\locked-target.txt"), "old");
  EXPECT_EQ(ReadBytes(target + "\\a.txt"), "new a.txt");
  EXPECT_EQ(ReadBytes(target + "\\lib\\in-lib.txt"), "new lib\\in-lib.txt");
  EXPECT_EQ(ReadBytes(target + "\\read-by-a-program.txt"), "new read-by-a-program.txt");
  EXPECT_TRUE(PathExists(staging + "\\read-by-a-program.txt")) << "copied, not moved";
  EXPECT_FALSE(PathExists(staging + "\\a.txt"));
  EXPECT_EQ(ui.gauge->Progress(), 4);
  EXPECT_EQ(ui.memo->LineCount(), 4);
}

TEST(PlaceFolderTree, AcrossVolumesFilesAreCopiedAndTheStagedTreeStays) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs a drive letter of its own (Wine)";
  TempFolder temp;
  EXPECT_TRUE(pub::OnOneVolume(temp.Path(), "c:\\quarn"));
  EXPECT_FALSE(pub::OnOneVolume(temp.Path(), drive.Root() + "quarn"));
  EXPECT_EQ(pub::PlacementBetween(temp.Path(), "c:\\quarn"), pub::Placement::Move);
  EXPECT_EQ(pub::PlacementBetween(temp.Path(), drive.Root() + "quarn"), pub::Placement::Copy);
  MakeProduct(temp.Path() + "eforum");
  ProgressControls ui;
  ASSERT_TRUE(pub::PlaceFolderTree(temp.Path() + "eforum", drive.Root() + "quarn\\eforum",
                                   pub::PlacementBetween(temp.Path(), drive.Root() + "quarn"), ui.progress(), nullptr));
  EXPECT_EQ(TreeContents(drive.Root() + "quarn\\eforum"), kProductTree);
  EXPECT_EQ(TreeContents(temp.Path() + "eforum"), kProductTree);
  EXPECT_EQ(ui.gauge->Progress(), 3);
}
