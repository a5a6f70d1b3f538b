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

// cmd reads the folder unquoted in the bundle's "set NAME=folder\..." lines: each character it
// treats specially there is refused, and the message names it.
TEST(InstallFolderRule, CharactersABatchFileCannotCarryAreRefusedByName) {
  const struct {
    const char* folder;
    const char* named;
  } cases[] = {{"c:\\q&t", "&"},        {"c:\\100%", "%"},   {"c:\\%TEMP%\\q", "%"}, {"c:\\a^b", "^"},
               {"c:\\hi!", "!"},        {"c:\\q(1)", "("},   {"c:\\q)", ")"},        {"d:\\web\\a&b\\", "&"},
               {"c:\\(x86)&q", "("}};
  for (const auto& c : cases) {
    EXPECT_EQ(InstallFolderProblem(c.folder), std::string("安装目录中包含字符“") + c.named +
                                                  "”，基础软件的批处理文件无法使用这样的目录，请另选一个安装目录。")
        << c.folder;
    EXPECT_EQ(pub::FolderPathProblem(c.folder), "") << c.folder << " is still a path Windows can name";
  }
  // What Windows refuses keeps its own message, whatever else the name holds.
  for (const char* folder : {"c:\\a&b|c", "c:\\a<b", "c:\\a>b", "c:\\a\"b"})
    EXPECT_EQ(InstallFolderProblem(folder), "安装目录中包含Windows不允许的字符，请从新输入。") << folder;
  // Harmless in a set line; '=' and ';' only split arguments, which a set line has not.
  for (const char* folder : {"c:\\a=b", "c:\\a;b,c", "c:\\a-b_c.d~1", "c:\\a@b#c$d", "c:\\[x]{y}'z'`"})
    EXPECT_EQ(InstallFolderProblem(folder), "") << folder;
}

// A double-byte character is one character: its second byte may have the value of '^' or '|'.
TEST(InstallFolderRule, TrailBytesOfDoubleByteCharactersAreNotSpecial) {
  for (const char* folder : {"c:\\\xB0\x5E", "c:\\\x81\x7C\\q", "c:\\\xD5\x5E\xD5\x7C"})
    EXPECT_EQ(InstallFolderProblem(folder), "") << folder;
  EXPECT_NE(InstallFolderProblem("c:\\\xB0\x5E^"), "") << "a '^' of its own after one";
}

// Windows makes no folder whose path leaves no room for an 8.3 name within MAX_PATH.
TEST(InstallFolderRule, AFolderLongerThanWindowsCanMakeIsRefusedWithItsLength) {
  const std::string longest = "c:\\" + std::string(pub::kMaxFolderCharacters - 3, 'q');
  EXPECT_EQ(InstallFolderProblem(longest + "\\"), "");
  EXPECT_EQ(InstallFolderProblem(longest + "q"), "安装目录太长（248 个字符，最多 247 个），请另选一个安装目录。");
}
