// Path helpers: byte-wise character swaps and the lead-byte-aware last component.
#include <gtest/gtest.h>

#include "common/portable/PathText.h"

using pub::LastPathComponent;
using pub::ReplaceChar;
using pub::WithoutTrailingBackslash;

// "\xD5\x5C" is a GBK character whose trail byte is '\'.
const std::string kTrail5C = "\xD5\x5C";

TEST(LastPathComponent, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(LastPathComponent("C:\\a\\b"), "b");
  EXPECT_EQ(LastPathComponent("C:\\a\\b\\"), "");
  EXPECT_EQ(LastPathComponent("name"), "");
  EXPECT_EQ(LastPathComponent(""), "");
  EXPECT_EQ(LastPathComponent("C:\\安装\\程序"), "程序");
}

TEST(LastPathComponent, ATrailByte5CDoesNotSplitItsCharacter) {
  EXPECT_EQ(LastPathComponent("C:\\a\\x" + kTrail5C), "x" + kTrail5C);
  EXPECT_EQ(LastPathComponent("C:\\" + kTrail5C + kTrail5C), kTrail5C + kTrail5C);
  // Such a character at the end is no trailing separator either.
  EXPECT_EQ(LastPathComponent("C:\\" + kTrail5C), kTrail5C);
}

TEST(WithoutTrailingBackslash, CutsOneSeparatorButNeverATrailByte) {
  EXPECT_EQ(WithoutTrailingBackslash("C:\\quarn\\"), "C:\\quarn");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\quarn\\\\"), "C:\\quarn\\");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\quarn"), "C:\\quarn");
  EXPECT_EQ(WithoutTrailingBackslash(""), "");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\" + kTrail5C), "C:\\" + kTrail5C);
  EXPECT_EQ(WithoutTrailingBackslash("C:\\" + kTrail5C + "\\"), "C:\\" + kTrail5C);
}

TEST(ReplaceChar, SwapsEveryByteAndLeavesOtherTextAlone) {
  std::string name = "forum/WEB-INF/web.xml";
  ReplaceChar('/', '\\', name);
  EXPECT_EQ(name, "forum\\WEB-INF\\web.xml");
  std::string plain = "c:\\quarn";
  ReplaceChar('/', '\\', plain);
  EXPECT_EQ(plain, "c:\\quarn");
  // Byte by byte: a trail byte 0x5C is swapped like any other.
  std::string path = "c:\\" + kTrail5C;
  ReplaceChar('\\', '/', path);
  EXPECT_EQ(path, "c:/\xD5/");
}
