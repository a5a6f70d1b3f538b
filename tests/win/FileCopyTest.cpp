// CopyFolderTree: arguments, progress output, replaced files, the current directory, and failed
// copies collected and reported.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/win/FileTree.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

using namespace testing_support;
using pub::CopyFailure;
using pub::CopyFolderTree;

namespace {

std::vector<std::string> MemoLines(const tk::Memo& memo) {
  std::vector<std::string> lines;
  for (int i = 0; i < memo.LineCount(); ++i) lines.push_back(memo.Line(i));
  return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

TEST(CopyFolderTree, AnEmptySourceReturnsFalseAndCreatesNothing) {
  ProgressControls ui;
  TempFolder temp;
  EXPECT_FALSE(CopyFolderTree("", temp.Path() + "out", ui.progress()));
  EXPECT_FALSE(PathExists(temp.Path() + "out"));
  EXPECT_EQ(ui.gauge->Progress(), 0);
}

TEST(CopyFolderTree, AMissingSourceRaisesBeforeAnythingIsCreated) {
  TempFolder temp;
  CurrentDirGuard guard;
  ProgressControls ui;
  ChangeDir(temp.Path());
  try {
    CopyFolderTree(temp.Path() + "missing", temp.Path() + "out\\deeper", ui.progress());
    FAIL() << "no error";
  } catch (const tk::EInOutError& error) {
    EXPECT_TRUE(error.ErrorCode() == ERROR_FILE_NOT_FOUND || error.ErrorCode() == ERROR_PATH_NOT_FOUND)
        << error.ErrorCode();
    EXPECT_NE(error.Message().find("missing"), std::string::npos) << error.Message();
  }
  EXPECT_FALSE(PathExists(temp.Path() + "out"));
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}

TEST(CopyFolderTree, AnEmptySourceFolderYieldsAnEmptyDestinationWithItsParents) {
  ProgressControls ui;
  TempFolder temp;
  MakeFolders(temp.Path() + "empty");
  std::vector<CopyFailure> failures;
  EXPECT_TRUE(CopyFolderTree(temp.Path() + "empty", temp.Path() + "a\\b\\c", ui.progress(), &failures));
  EXPECT_TRUE(IsFolder(temp.Path() + "a\\b\\c"));
  EXPECT_TRUE(FolderNames(temp.Path() + "a\\b\\c").empty());
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(ui.memo->LineCount(), 0);
}

TEST(CopyFolderTree, CopiesTheTreeAndReportsEveryFileInOrder) {
  TempFolder temp;
  CurrentDirGuard guard;
  ProgressControls ui;
  const std::string source = temp.Path() + "staging\\eforum", target = temp.Path() + "安装\\eforum";
  MakeProduct(source);
  ChangeDir(temp.Path());
  std::vector<CopyFailure> failures;
  ASSERT_TRUE(CopyFolderTree(source, target, ui.progress(), &failures));

  EXPECT_EQ(TreeContents(target), kProductTree);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(ui.gauge->Progress(), 3);
  EXPECT_EQ(Sorted(MemoLines(*ui.memo)),
            Sorted({"copy:" + target + "\\index.html", "copy:" + target + "\\WEB-INF\\classes\\forum.properties",
                    "copy:" + target + "\\運\\說明.txt"}));
  // The label shows the last target, the one the memo's last line names.
  EXPECT_EQ("copy:" + ui.label->Caption(), ui.memo->Line(ui.memo->LineCount() - 1));
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}

TEST(CopyFolderTree, TrailingBackslashesMakeNoDifference) {
  TempFolder temp;
  MakeProduct(temp.Path() + "src運");  // the source itself ends in a trail byte 0x5C
  std::vector<std::string> firstMemo;
  for (int variant = 0; variant < 4; ++variant) {
    ProgressControls ui;
    const std::string target = temp.Path() + "out";
    std::string from = temp.Path() + "src運" + (variant & 1 ? "\\" : "");
    std::string to = target + (variant & 2 ? "\\" : "");
    ASSERT_TRUE(CopyFolderTree(from, to, ui.progress())) << variant;
    EXPECT_EQ(TreeContents(target), kProductTree) << variant;
    std::vector<std::string> memo = Sorted(MemoLines(*ui.memo));
    if (variant == 0) firstMemo = memo;
    EXPECT_EQ(memo, firstMemo) << variant;
    EXPECT_EQ(memo.front(), "copy:" + target + "\\WEB-INF\\classes\\forum.properties");
  }
}

TEST(CopyFolderTree, AnExistingTargetIsReplacedAndReported) {
  ProgressControls ui;
  TempFolder temp;
  MakeFolders(temp.Path() + "src");
  MakeFolders(temp.Path() + "dst");
  WriteBytes(temp.Path() + "src\\my.ini", "new");
  WriteBytes(temp.Path() + "src\\fresh.txt", "fresh");
  WriteBytes(temp.Path() + "dst\\my.ini", "old");
  std::vector<CopyFailure> failures;
  EXPECT_TRUE(CopyFolderTree(temp.Path() + "src", temp.Path() + "dst", ui.progress(), &failures));
  EXPECT_EQ(ReadBytes(temp.Path() + "dst\\my.ini"), "new");
  EXPECT_EQ(ReadBytes(temp.Path() + "dst\\fresh.txt"), "fresh");
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(ui.gauge->Progress(), 2);
  EXPECT_EQ(ui.memo->LineCount(), 2);
}

// A drive root lists no "." or "..", so an empty one cannot be listed.
TEST(CopyFolderTree, AFailedListingRestoresTheCurrentDirectoryAndReturnsFalse) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs an empty drive root (Wine)";
  TempFolder temp;
  CurrentDirGuard guard;
  ProgressControls ui;
  ChangeDir(temp.Path());
  std::vector<CopyFailure> failures;
  EXPECT_FALSE(CopyFolderTree(drive.Root(), temp.Path() + "out", ui.progress(), &failures));
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
  // The destination is made before the listing is looked at.
  EXPECT_TRUE(IsFolder(temp.Path() + "out"));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].target, temp.Path() + "out");
}

TEST(CopyFolderTree, EveryFailedCopyIsCollectedTheWalkGoesOnAndTheResultIsFalse) {
  ProgressControls ui;
  TempFolder temp;
  const std::string src = temp.Path() + "src", dst = temp.Path() + "dst";
  MakeFolders(src + "\\lib");
  MakeFolders(dst);
  for (const char* name : {"a.txt", "locked-source.txt", "locked-target.txt", "z.txt", "lib\\in-lib.txt"})
    WriteBytes(src + "\\" + name, name);
  WriteBytes(dst + "\\locked-target.txt", "old");
  // A file where the "lib" folder must go: nothing can be copied into it.
  WriteBytes(dst + "\\lib", "not a folder");
  HANDLE heldSource = CreateFileW(tk::ToWide(src + "\\locked-source.txt").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  HANDLE heldTarget = CreateFileW(tk::ToWide(dst + "\\locked-target.txt").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(heldSource, INVALID_HANDLE_VALUE);
  ASSERT_NE(heldTarget, INVALID_HANDLE_VALUE);
  std::vector<CopyFailure> failures;
  bool result = CopyFolderTree(src, dst, ui.progress(), &failures);
  CloseHandle(heldSource);
  CloseHandle(heldTarget);

  EXPECT_FALSE(result);
  std::vector<std::string> targets;
  for (const CopyFailure& failure : failures) {
    targets.push_back(failure.target);
    EXPECT_NE(failure.errorCode, 0u) << failure.target;
    EXPECT_FALSE(failure.message.empty()) << failure.target;
  }
  EXPECT_EQ(Sorted(targets), Sorted({dst + "\\lib", dst + "\\lib\\in-lib.txt", dst + "\\locked-source.txt",
                                     dst + "\\locked-target.txt"}));
  // The walk went on past each failure, and the gauge and memo still took every file.
  EXPECT_EQ(ReadBytes(dst + "\\a.txt"), "a.txt");
  EXPECT_EQ(ReadBytes(dst + "\\z.txt"), "z.txt");
  EXPECT_EQ(ReadBytes(dst + "\\locked-target.txt"), "old");
  EXPECT_EQ(ui.gauge->Progress(), 5);
  EXPECT_EQ(ui.memo->LineCount(), 5);

  // Without a list to fill, the result still tells.
  EXPECT_FALSE(CopyFolderTree(src, dst, ui.progress()));
}
