// ReplaceInTextFile: line ends, letter case, empty files, NUL bytes, and failures that must
// leave the original exactly as it was.
#include <gtest/gtest.h>

#include "common/win/TextFile.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

using namespace testing_support;
using pub::ReplaceInTextFile;

TEST(ReplaceInTextFile, LfLinesWithoutAFinalBreakGetCrLfAndEveryMatchInAnyCase) {
  TempFolder temp;
  const std::string file = temp.Path() + "catalina.bat";
  WriteBytes(file, "set HOME=C:\\QUARN\\java\nrem Keep Case c:\\Quarn\\ and c:\\quarn\\\n@echo 完成 c:\\quarn\\x");
  ReplaceInTextFile(file, "c:\\quarn\\", "D:\\安装\\");
  EXPECT_EQ(ReadBytes(file),
            "set HOME=D:\\安装\\java\r\nrem Keep Case D:\\安装\\ and D:\\安装\\\r\n@echo 完成 D:\\安装\\x\r\n");
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>({"catalina.bat"}));
}

TEST(ReplaceInTextFile, TheFileIsRewrittenEvenWithoutAMatchAndKeepsItsAttributes) {
  TempFolder temp;
  const std::string file = temp.Path() + "my.ini";
  WriteBytes(file, "[mysqld]\rport=3306\n\nbasedir=x");
  SetFileAttributesW(tk::ToWide(file).c_str(), FILE_ATTRIBUTE_HIDDEN);
  ReplaceInTextFile(file, "c:/quarn/", "d:/x/");
  EXPECT_EQ(ReadBytes(file), "[mysqld]\r\nport=3306\r\n\r\nbasedir=x\r\n");
  EXPECT_TRUE(GetFileAttributesW(tk::ToWide(file).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(ReplaceInTextFile, AnEmptyFileStaysEmptyAndANulEndsTheText) {
  TempFolder temp;
  WriteBytes(temp.Path() + "empty.xml", "");
  ReplaceInTextFile(temp.Path() + "empty.xml", "a", "b");
  EXPECT_EQ(ReadBytes(temp.Path() + "empty.xml"), "");

  const char withNul[] = "docBase=\"c:/quarn/ecms\"\n\0binary\ntail";
  WriteBytes(temp.Path() + "zero.xml", std::string(withNul, sizeof withNul - 1));
  ReplaceInTextFile(temp.Path() + "zero.xml", "C:/QUARN/", "e:/web/");
  EXPECT_EQ(ReadBytes(temp.Path() + "zero.xml"), "docBase=\"e:/web/ecms\"\r\n");
}

TEST(ReplaceInTextFile, AMissingFileRaisesAndNothingIsCreated) {
  TempFolder temp;
  try {
    ReplaceInTextFile(temp.Path() + "missing.ini", "a", "b");
    FAIL() << "no error";
  } catch (const tk::EFOpenError& error) {
    EXPECT_NE(error.Message().find("missing.ini"), std::string::npos) << error.Message();
  }
  EXPECT_TRUE(FolderNames(temp.Path()).empty());
}

// The file is held by another program while the new content is put in its place.
TEST(ReplaceInTextFile, AFailedWriteLeavesTheOriginalExactlyAsItWasAndNoTemporaryFile) {
  TempFolder temp;
  const std::string file = temp.Path() + "forum.xml";
  const std::string original = "<Context docBase=\"c:\\quarn\\eforum\"/>\n";
  WriteBytes(file, original);
  HANDLE reader = CreateFileW(tk::ToWide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReplaceInTextFile(file, "c:\\quarn\\", "d:\\x\\"), tk::EStreamError);
  CloseHandle(reader);
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>({"forum.xml"}));

  // A read-only file is refused before anything is written.
  SetFileAttributesW(tk::ToWide(file).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(ReplaceInTextFile(file, "c:\\quarn\\", "d:\\x\\"), tk::EFCreateError);
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>({"forum.xml"}));
  SetFileAttributesW(tk::ToWide(file).c_str(), FILE_ATTRIBUTE_NORMAL);

  // A file held without sharing cannot even be read.
  HANDLE locked = CreateFileW(tk::ToWide(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_THROW(ReplaceInTextFile(file, "c:\\quarn\\", "d:\\x\\"), tk::EFOpenError);
  CloseHandle(locked);
  EXPECT_EQ(ReadBytes(file), original);
}
