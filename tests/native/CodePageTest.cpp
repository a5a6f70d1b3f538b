// The rule for names from the system: converted to GBK only without loss. Run in both trees,
// so it holds over glibc's table and over Windows' own.
#include <gtest/gtest.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/GbkCodec.h"

using tk::Utf16ToGbk;

namespace {

// What a refused conversion leaves: the caller's text untouched.
constexpr const char* kUntouched = "untouched";

bool Refused(const std::u16string& name) {
  std::string gbk = kUntouched;
  return !Utf16ToGbk(name, &gbk) && gbk == kUntouched;
}

}  // namespace

TEST(Utf16ToGbk, NamesGbkHoldsConvertToTheirGbkBytes) {
  std::string gbk;
  // Narrow literals of this file are GBK.
  ASSERT_TRUE(Utf16ToGbk(u"C:\\用户\\张三\\Temp\\", &gbk));
  EXPECT_EQ(gbk, "C:\\用户\\张三\\Temp\\");
  // GBK also holds kana, Greek and Cyrillic, and the character whose trail byte is '\'.
  ASSERT_TRUE(Utf16ToGbk(u"D:\\ひらがな カタカナ αβ Жж 表\\", &gbk));
  EXPECT_EQ(gbk, "D:\\ひらがな カタカナ αβ Жж 表\\");
  ASSERT_TRUE(Utf16ToGbk(u"", &gbk));
  EXPECT_EQ(gbk, "");
}

TEST(Utf16ToGbk, NamesWithACharacterGbkLacksAreNotConvertible) {
  // Kept out of the assertions' own text, which is GBK and could not hold them.
  const std::u16string names[] = {
      u"C:\\사용자\\민수\\AppData\\Local\\Temp\\",  // Hangul
      u"C:\\Users\\x\\Desktop\\😀\\",                 // an emoji: a surrogate pair
      u"D:\\下载\\다운로드\\",                            // Chinese and Hangul
      u"D:\\下载\\setup 😀.exe",                           // one character at the end
      u"D:\\\xD800x",                                      // a lone surrogate, as NTFS allows
      u"D:\\\xDE00",
  };
  for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) EXPECT_TRUE(Refused(names[i])) << "name " << i;
}

TEST(Utf16ToGbk, EveryCharacterItAcceptsComesBackUnchanged) {
  // A platform table may map a character one way only (Wine's code page 936 sends U+F8F5 to a
  // byte that decodes to nothing); the rule must refuse those, not hand out a different name.
  int accepted = 0;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::u16string name(1, static_cast<char16_t>(c));
    std::string gbk;
    if (!Utf16ToGbk(name, &gbk)) continue;
    ++accepted;
    std::u16string back;
    ASSERT_TRUE(tk::DecodeGbk(gbk, &back)) << std::hex << static_cast<unsigned>(c);
    ASSERT_EQ(back, name) << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_GT(accepted, 21000);  // ASCII and the 21,886 characters of GBK, whatever the table adds
}

TEST(Utf8ToGbk, FollowsTheSameRule) {
  const std::string hangul = u8"사용자", emoji = u8"a😀";
  std::string gbk = kUntouched;
  EXPECT_FALSE(tk::Utf8ToGbk(hangul, &gbk));
  EXPECT_FALSE(tk::Utf8ToGbk(emoji, &gbk));
  EXPECT_EQ(gbk, kUntouched);
  ASSERT_TRUE(tk::Utf8ToGbk(u8"安装 Жж", &gbk));
  EXPECT_EQ(gbk, "安装 Жж");
}
