// The whole-file text rewrite without the file: GBK upper-casing, line rules, replacement.
#include <gtest/gtest.h>

#include "common/portable/GbkCase.h"
#include "common/portable/TextLines.h"

using pub::GbkUpperCase;
using pub::PatchedFileText;
using pub::ReplaceAllIgnoreCase;
using pub::SplitTextLines;

TEST(GbkUpperCase, FoldsAsciiAndGbkLettersOnly) {
  EXPECT_EQ(GbkUpperCase("c:\\Quarn-9_z{}"), "C:\\QUARN-9_Z{}");
  EXPECT_EQ(GbkUpperCase("ｑｕａｒｎ"), "ＱＵＡＲＮ");  // full-width Latin
  EXPECT_EQ(GbkUpperCase("αβγω"), "ΑΒΓΩ");
  EXPECT_EQ(GbkUpperCase("жёя"), "ЖЁЯ");
  EXPECT_EQ(GbkUpperCase("ⅰⅹ"), "ⅠⅩ");
  // No upper-case form in GBK, or no letter: unchanged.
  EXPECT_EQ(GbkUpperCase("āü中文安装"), "āü中文安装");
}

TEST(GbkUpperCase, ATrailByteThatLooksLikeALetterStaysAsItIs) {
  // 0x81 0x61 is one GBK character; its trail byte is no 'a'.
  EXPECT_EQ(GbkUpperCase("\x81\x61" "a"), "\x81\x61" "A");
  // A lead byte at the very end stands alone.
  EXPECT_EQ(GbkUpperCase("a\x81"), "A\x81");
}

TEST(SplitTextLines, EndsLinesAtCrLfCrOrLfAndTheTextAtNul) {
  EXPECT_EQ(SplitTextLines(""), std::vector<std::string>());
  EXPECT_EQ(SplitTextLines("a"), std::vector<std::string>({"a"}));
  EXPECT_EQ(SplitTextLines("a\n"), std::vector<std::string>({"a"}));
  EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), std::vector<std::string>({"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("\n\r\n"), std::vector<std::string>({"", ""}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), std::vector<std::string>({"a", "", "b"}));
  EXPECT_EQ(SplitTextLines(std::string("ab\0cd\nef", 9)), std::vector<std::string>({"ab"}));
}

TEST(ReplaceAllIgnoreCase, MatchesAnyCaseAndKeepsEverythingElse) {
  EXPECT_EQ(ReplaceAllIgnoreCase("set HOME=C:\\Quarn\\x; c:\\QUARN\\", "c:\\quarn\\", "D:\\新\\"),
            "set HOME=D:\\新\\x; D:\\新\\");
  EXPECT_EQ(ReplaceAllIgnoreCase("Abc", "", "x"), "Abc");
  EXPECT_EQ(ReplaceAllIgnoreCase("no match", "quarn", "x"), "no match");
  EXPECT_EQ(ReplaceAllIgnoreCase("ＱＵＡＲＮ", "ｑｕａｒｎ", "q"), "q");
}

TEST(ReplaceAllIgnoreCase, MatchesDoNotOverlapAndTheInsertIsNotSearched) {
  EXPECT_EQ(ReplaceAllIgnoreCase("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAllIgnoreCase("aAa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAllIgnoreCase("x", "x", "xx"), "xx");
  EXPECT_EQ(ReplaceAllIgnoreCase("quarn", "quarn", "c:\\quarn\\quarn"), "c:\\quarn\\quarn");
}

TEST(ReplaceAllIgnoreCase, AMatchStartsOnlyAtACharacter) {
  // "\xD5\x5C" ends in '\'; the pattern "\\x" must not match across it.
  const std::string text = "\xD5\x5C" "x\\x";
  EXPECT_EQ(ReplaceAllIgnoreCase(text, "\\x", "/y"), "\xD5\x5C" "x/y");
  // The trail byte 0x61 of "\x81\x61" is no 'a'.
  EXPECT_EQ(ReplaceAllIgnoreCase("\x81\x61" "a", "a", "b"), "\x81\x61" "b");
}

TEST(PatchedFileText, EveryLineEndsInCrLfWhetherOrNotAnythingMatched) {
  EXPECT_EQ(PatchedFileText("", "a", "b"), "");
  EXPECT_EQ(PatchedFileText("one\ntwo", "zzz", "b"), "one\r\ntwo\r\n");
  EXPECT_EQ(PatchedFileText("Path=C:\\QUARN\\bin\nlog=c:\\Quarn\\logs", "c:\\quarn\\", "E:\\Apps\\"),
            "Path=E:\\Apps\\bin\r\nlog=E:\\Apps\\logs\r\n");
  // Line breaks in the replacement become lines of their own; a NUL ends the text.
  EXPECT_EQ(PatchedFileText("a-b", "-", "\n"), "a\r\nb\r\n");
  EXPECT_EQ(PatchedFileText(std::string("keep\nx\0lost\n", 12), "x", "y"), "keep\r\ny\r\n");
  // A pattern spanning a line break matches the CR LF the lines are joined with.
  EXPECT_EQ(PatchedFileText("a\nb", "a\r\nb", "c"), "c\r\n");
}
