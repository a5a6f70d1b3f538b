#include <gtest/gtest.h>

#include "common/portable/WorkingFolders.h"

using namespace pub;

TEST(WorkingFolders, StagingFolderIsFixedPerTemporaryFolder) {
  EXPECT_EQ(StagingFolderFor("C:\\Temp\\"), "C:\\Temp\\quarne\\");
  EXPECT_EQ(StagingFolderFor("C:\\Temp\\"), StagingFolderFor("C:\\Temp\\"));
  // And back: the temporary folder of a staging folder, none for another folder.
  EXPECT_EQ(pub::TempFolderOf(StagingFolderFor("C:\\Temp\\")), "C:\\Temp\\");
  EXPECT_EQ(pub::TempFolderOf("C:\\Temp\\other\\"), "");
}

namespace {

// A short-name lookup that counts its calls.
struct ShortNames {
  std::u16string answer;
  int calls = 0;
  std::function<std::u16string()> Lookup() {
    return [this] {
      ++calls;
      return answer;
    };
  }
};

}  // namespace

TEST(WorkingFolderName, ANameGbkHoldsIsUsedAsItIsWithoutAskingForTheShortOne) {
  ShortNames shortNames{u"C:\\DOCUME~1\\Temp\\"};
  std::string gbk;
  ASSERT_TRUE(WorkingFolderName(u"C:\\用户\\张三\\Temp\\", shortNames.Lookup(), &gbk));
  EXPECT_EQ(gbk, "C:\\用户\\张三\\Temp\\");
  EXPECT_EQ(shortNames.calls, 0);
}

TEST(WorkingFolderName, HangulEmojiAndMixedNamesUseTheShortName) {
  for (const char16_t* name : {u"C:\\사용자\\민수\\Temp\\", u"D:\\下载\\😀\\", u"D:\\下载\\다운로드 안녕\\"}) {
    ShortNames shortNames{u"C:\\6C34~1\\Temp\\"};
    std::string gbk;
    ASSERT_TRUE(WorkingFolderName(name, shortNames.Lookup(), &gbk));
    EXPECT_EQ(gbk, "C:\\6C34~1\\Temp\\");
    EXPECT_EQ(shortNames.calls, 1);
  }
}

TEST(WorkingFolderName, NoUsableShortNameMeansNoName) {
  const std::u16string hangul = u"C:\\사용자\\Temp\\";
  // Without 8.3 names the system gives back the long name; a failed lookup gives nothing.
  for (const std::u16string& answer : {hangul, std::u16string(), std::u16string(u"C:\\사용~1\\Temp\\")}) {
    ShortNames shortNames{answer};
    std::string gbk = "untouched";
    EXPECT_FALSE(WorkingFolderName(hangul, shortNames.Lookup(), &gbk));
    EXPECT_EQ(gbk, "untouched");
  }
}
