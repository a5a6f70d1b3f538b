// The one rule for entry names that are unpacked into a folder: staging and quarnpak both use it.
#include <gtest/gtest.h>

#include "common/portable/EntryNames.h"

using namespace pub;

TEST(EntryNames, SafeNamesPass) {
  for (const char* name : {"forum/WEB-INF/web.xml", "readme.txt", "a\\b.txt", "\xC2\xDB\xCC\xB3/a.jsp", "a.b/.hidden"})
    EXPECT_EQ(NameProblem(name, 0), "") << name;
  EXPECT_EQ(NameProblem("blog/images/", 1), "");
  // 0x5C as the trail byte of a double-byte character is no separator.
  EXPECT_EQ(NameProblem("a\x95\x5C", 0), "");
  EXPECT_EQ(NameComponents("\x95\x5C\\x/y"), (std::vector<std::string>{"\xE6\x98\x9E", "x", "y"}));
  EXPECT_FALSE(EndsInSeparator("a\x95\x5C"));
  EXPECT_TRUE(EndsInSeparator("a\\"));
}

TEST(EntryNames, HostileNamesAreRefused) {
  for (const char* name : {"", "../x", "a/../../b", "a\\..\\b", "..", "/abs", "\\abs", "C:x", "c:\\x", "a/b:c",
                           "a//b", "./x", "a/.", "a/...", "a/.. ", "dir/con", "NUL.txt", "com1", "a<b", "a?b",
                           "a\tb", "\x81", "\xFF\xFF"})
    EXPECT_NE(NameProblem(name, 0), "") << name;
  EXPECT_NE(NameProblem("dir/", 0), "") << "a file entry cannot name a folder";
  EXPECT_NE(NameProblem("../", 1), "");
}
