#include <gtest/gtest.h>

#include "common/portable/GbkText.h"

using pub::LastDelimiter;

TEST(LastDelimiter, TrailByte5CIsNoSeparator) {
  // "表" is B1 ED, "\x95\x5C" is a GBK character whose trail byte is '\'.
  std::string text = "C:\\dir\\a\x95\x5C";
  EXPECT_EQ(LastDelimiter(text, "\\"), 6u);
  EXPECT_EQ(LastDelimiter("abc", "\\"), std::string::npos);
  EXPECT_EQ(LastDelimiter("C:", "\\:"), 1u);
  // A lone lead byte at the end is taken as a single byte.
  EXPECT_EQ(LastDelimiter(std::string("a\\\x81"), "\\"), 1u);
}
