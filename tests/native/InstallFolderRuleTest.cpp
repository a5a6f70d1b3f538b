// Which texts the wizard takes as an install folder.
#include <gtest/gtest.h>

#include "common/portable/InstallFolderRule.h"

using pub::InstallFolderProblem;

TEST(InstallFolderRule, AbsoluteFoldersOnADrivePass) {
  for (const char* folder : {"c:\\quarn", "D:\\web\\site\\", "z:\\a", "c:\\\xB0\xB2\xD7\xB0", "c:\\a.b\\c d"})
    EXPECT_EQ(InstallFolderProblem(folder), "") << folder;
}

TEST(InstallFolderRule, RelativeRootsAndOddNamesAreRefused) {
  EXPECT_EQ(InstallFolderProblem(""), "请输入Quarn软件的安装目录。");
  EXPECT_EQ(InstallFolderProblem("\\"), "请输入Quarn软件的安装目录。") << "a lone separator is cut to nothing";
  for (const char* folder : {"quarn", "\\quarn", "c:", "c:\\", "c:quarn", "1:\\x", "\\\\server\\share\\q",
                             "\\\\?\\c:\\q", "c:\\a|b", "c:\\a:b", "c:\\a/b", "c:\\..", "c:\\q\\..\\..", "c:\\ \\x",
                             "c:\\a\tb"})
    EXPECT_NE(InstallFolderProblem(folder), "") << folder;
}
