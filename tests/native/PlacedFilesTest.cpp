// The list of placed files and the rule by which a repair keeps what changed since.
#include <gtest/gtest.h>

#include "setup/portable/PlacedFiles.h"

namespace {

using pub::FileFacts;
using pub::KeepRule;
using pub::PlacedFile;

TEST(PlacedFiles, ARoundTripKeepsEveryEntryAndGbkNames) {
  const std::vector<PlacedFile> files = {{"MySQL5\\data\\ibdata1", {12, 133000000000000001ull}},
                                         {"eforum\\\xCB\xB5\xC3\xF7.txt", {0, 0}},  // 说明 in GBK
                                         {"tomcat5\\bin\\catalina.bat", {18446744073709551615ull, 7}}};
  std::optional<std::vector<PlacedFile>> read = pub::ParsePlacedFiles(pub::FormatPlacedFiles(files));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ((*read)[i].path, files[i].path);
    EXPECT_TRUE((*read)[i].facts == files[i].facts) << files[i].path;
  }
}

TEST(PlacedFiles, APendingEntryRoundTripsAndIsNeverKept) {
  std::optional<std::vector<PlacedFile>> read =
      pub::ParsePlacedFiles(pub::FormatPlacedFiles({{"MySQL5\\my.ini", {}, true}, {"eblog\\a.html", {3, 4}}}));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_TRUE((*read)[0].pending);
  EXPECT_FALSE((*read)[1].pending);
  // Placed, then the run stopped before patching: a factory my.ini is replaced, not kept.
  EXPECT_FALSE(KeepRule::FromList(*read).Keep("MySQL5\\my.ini", {123, 456}));
}

TEST(PlacedFiles, TextThatIsNoSuchListIsTreatedAsAbsent) {
  for (const char* text : {"", "size\ttime\tpath\r\n", "quarn placed files 2\r\n",
                           "quarn placed files 1\r\n12\tx\ta.txt\r\n", "quarn placed files 1\r\n12\t3\r\n",
                           "quarn placed files 1\r\n12\t3\t\r\n", "quarn placed files 1\r\n-1\t3\ta\r\n",
                           "quarn placed files 1\r\n*\t3\ta\r\n", "quarn placed files 1\r\n*\t*\t\r\n"})
    EXPECT_FALSE(pub::ParsePlacedFiles(text)) << text;
  EXPECT_TRUE(pub::ParsePlacedFiles("quarn placed files 1\r\n"));
}

TEST(KeepRule, WithTheListAFileIsKeptWhenItDiffersOrIsUnlisted) {
  const KeepRule rule = KeepRule::FromList({{"MySQL5\\my.ini", {100, 5}}, {"eblog\\index.html", {10, 5}}});
  struct Case {
    const char* path;
    FileFacts found;
    bool kept;
  } cases[] = {
      {"MySQL5\\my.ini", {100, 5}, false},       // as placed: restored from the package
      {"mysql5\\MY.INI", {100, 5}, false},       // Windows ignores case
      {"MySQL5\\my.ini", {100, 6}, true},        // written since
      {"MySQL5\\my.ini", {101, 5}, true},        // same time, other size
      {"eblog\\index.html", {10, 5}, false},
      {"MySQL5\\data\\ibdata1", {1, 1}, true},   // not placed by the installation: the user's
      {"eblog\\mine.html", {10, 5}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(rule.Keep(c.path, c.found), c.kept) << c.path;
  ASSERT_NE(rule.Entry("mysql5\\my.ini"), nullptr);
  EXPECT_EQ(rule.Entry("mysql5\\my.ini")->path, "MySQL5\\my.ini");
  EXPECT_EQ(rule.Entry("eblog\\mine.html"), nullptr);
}

TEST(KeepRule, WithoutTheListOnlyTheDatabasesFilesAreKept) {
  const KeepRule rule = KeepRule::WithoutList();
  EXPECT_TRUE(rule.Keep("MySQL5\\data\\ibdata1", {1, 1}));
  EXPECT_TRUE(rule.Keep("mysql5\\DATA\\forum\\posts.MYD", {1, 1}));
  EXPECT_FALSE(rule.Keep("MySQL5\\my.ini", {1, 1}));
  EXPECT_FALSE(rule.Keep("MySQL5\\database.txt", {1, 1}));
  EXPECT_FALSE(rule.Keep("eforum\\MySQL5\\data\\x", {1, 1}));
}

}  // namespace
