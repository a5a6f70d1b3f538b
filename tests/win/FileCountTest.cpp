// CountFiles: what it counts, and where it leaves the current directory.
#include <gtest/gtest.h>

#include "common/win/FileTree.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;
using pub::CountFiles;

namespace {

// "temp\quarntest-1\" -> "temp\quarntest-1"
}  // namespace

TEST(CountFiles, AMissingFolderIsZeroAndLeavesTheCurrentDirectoryAlone) {
  TempFolder temp;
  CurrentDirGuard guard;
  ChangeDir(temp.Path());
  EXPECT_EQ(CountFiles(temp.Path() + "missing"), 0);
  EXPECT_EQ(CountFiles(""), 0);
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}

TEST(CountFiles, CountsEveryAttributeClassAndEndsAtTheParent) {
  TempFolder temp;
  CurrentDirGuard guard;
  const std::string root = temp.Path() + "产品";
  MakeFolders(root + "\\empty\\a\\b");
  MakeFolders(root + "\\empty\\c");
  MakeFolders(root + "\\sub\\deeper\\empty too");
  for (const char* name : {"plain.txt", "hidden", "system", "readonly", "sub\\one", "sub\\deeper\\two"})
    WriteBytes(root + "\\" + name, "x");
  SetFileAttributesW((tk::ToWide(root) + L"\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((tk::ToWide(root) + L"\\system").c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesW((tk::ToWide(root) + L"\\readonly").c_str(), FILE_ATTRIBUTE_READONLY);

  EXPECT_EQ(CountFiles(root + "\\empty"), 0);  // only empty folders below it
  ChangeDir(root + "\\sub");
  EXPECT_EQ(CountFiles(root), 6);
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
  // A trailing backslash names the same folder.
  EXPECT_EQ(CountFiles(root + "\\"), 6);
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
  SetFileAttributesW((tk::ToWide(root) + L"\\readonly").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A relative folder is taken from the current directory once, not again from each level the
// walk has moved into.
TEST(CountFiles, ARelativeFolderCountsItsWholeTree) {
  TempFolder temp;
  CurrentDirGuard guard;
  MakeFolders(temp.Path() + "rel\\sub");
  WriteBytes(temp.Path() + "rel\\a", "x");
  WriteBytes(temp.Path() + "rel\\sub\\b", "x");
  ChangeDir(temp.Path());
  EXPECT_EQ(CountFiles("rel"), 2);
  EXPECT_EQ(CurrentDir(), NoSlash(temp.Path()));
}
