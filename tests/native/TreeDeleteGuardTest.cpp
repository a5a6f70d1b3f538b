// The paths a recursive delete refuses, whatever the folders on the disk.
#include <gtest/gtest.h>

#include "common/portable/TreeDeleteGuard.h"

using pub::IsRefusedTreeDeletePath;

TEST(TreeDeleteGuard, RefusesEmptyRootsAndCurrentFolders) {
  for (const char* path : {"", "\\", "/", "\\\\", ".", ".\\", "C:", "c:\\", "C:/", "C:\\.", "C:\\\\", "C:.",
                           "\\\\server", "\\\\server\\", "\\\\server\\share", "\\\\server\\share\\",
                           "//server/share/", "\\\\?\\C:\\", "\\\\.\\C:", "\\\\?\\UNC\\server\\share\\",
                           "\\\\?\\Volume{0b1c}\\"})
    EXPECT_TRUE(IsRefusedTreeDeletePath(path)) << path;
}

TEST(TreeDeleteGuard, RefusesEveryClimbAndBlankComponent) {
  for (const char* path : {"..", "C:\\quarn\\..", "C:\\quarn\\..\\", "C:\\a\\..\\b", "a/../b", "..\\x",
                           "C:\\quarn\\...", "C:\\quarn\\ ", "C:\\ \\x", "\\\\server\\..\\x"})
    EXPECT_TRUE(IsRefusedTreeDeletePath(path)) << path;
}

TEST(TreeDeleteGuard, AcceptsFoldersBelowARoot) {
  for (const char* path : {"C:\\quarn", "c:\\quarn\\", "C:\\a\\.\\b", "C:\\.hidden", "C:\\a..b", "sub",
                           "sub\\dir", "\\temp", "C:name", "\\\\server\\share\\dir", "\\\\?\\C:\\x",
                           "\\\\?\\UNC\\server\\share\\dir", "C:\\安装\\程序"})
    EXPECT_FALSE(IsRefusedTreeDeletePath(path)) << path;
}

TEST(TreeDeleteGuard, ATrailByte5CIsNoSeparator) {
  // "\xD5\x5C" is one character: "C:\\" followed by it is a folder, not the root.
  EXPECT_FALSE(IsRefusedTreeDeletePath("C:\\\xD5\x5C"));
  // Yet ".." after a real separator is refused as always.
  EXPECT_TRUE(IsRefusedTreeDeletePath("C:\\\xD5\x5C\\.."));
}
