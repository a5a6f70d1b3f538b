// Staging: the package unpacked into the staging folder, the product names gathered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/portable/PathText.h"
#include "common/win/PackageLocation.h"
#include "common/win/Staging.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"

using namespace testing_support;

namespace {

class Staging : public EngineFixture {
 protected:
  bool Unpack() { return Stage().Succeeded(); }
  // The package's index read as a run reads it, then staged.
  pub::StagingResult Stage(const std::string& makerKey = std::string(), int writers = pub::kStagingWriters) {
    progress = RecordedProgress();
    const pub::PackageIndex package = pub::ReadPackageIndex(pub::LocatePackage(folders.setupFolder), makerKey);
    last = pub::UnpackPackage(package, StagingFolder(), &progress, writers);
    return last;
  }
  std::string StagingFolder() const { return folders.stagingFolder; }
  std::string Package() const { return folder.Path() + "Setup.pak"; }
  std::vector<std::string> Products() const { return last.products; }
  pub::StagingResult last;
  std::string Staged(const std::string& name) const { return StagingFolder() + name; }
};

}  // namespace

TEST_F(Staging, AnEmptyPackageUnpacksNothing) {
  PlacePackage({});
  EXPECT_TRUE(Unpack());
  EXPECT_EQ(progress.range, 0);
  EXPECT_EQ(progress.position, 0);
  EXPECT_TRUE(progress.lines.empty());
  EXPECT_TRUE(Products().empty());
  EXPECT_EQ(last.entryCount, 0);
}

TEST_F(Staging, ProductNamesComeOnceEachIgnoringCaseInFirstSeenOrder) {
  PlacePackage({{"forum/a.jsp", "a"}, {"Forum/b.jsp", "bb"}, {"cms/c.jsp", "ccc"}, {"readme.txt", "r"},
                    {"license.txt", "l"}, {"forum/WEB-INF/web.xml", "<web/>"}});
  ASSERT_TRUE(Unpack());
  EXPECT_EQ(Products(), (std::vector<std::string>{"forum", "cms"}));
  EXPECT_EQ(last.RootFiles(), (std::vector<std::string>{"readme.txt", "license.txt"})) << "in no product folder";
  EXPECT_EQ(ReadFile(Staged("forum\\a.jsp")), "a");
  EXPECT_EQ(ReadFile(Staged("Forum\\b.jsp")), "bb");
  EXPECT_EQ(ReadFile(Staged("readme.txt")), "r");  // a top-level file lands in the staging folder itself
  ASSERT_EQ(progress.lines.size(), 6u);
  EXPECT_EQ(progress.lines[5], "..\\forum\\WEB-INF\\web.xml");
  EXPECT_EQ(progress.range, 6);
  EXPECT_EQ(progress.position, 6);
  EXPECT_EQ(progress.status, "开始解压......");
  EXPECT_EQ(last.version, "2.0.0");
  EXPECT_DOUBLE_EQ(last.date, 46000.5);
  EXPECT_EQ(last.entryCount, 6);
  EXPECT_EQ(last.files.size(), 6u);
  EXPECT_EQ(last.packageBytes, 1u + 2 + 3 + 1 + 1 + 6);
}

TEST_F(Staging, AListedOnlyFolderEntryMakesTheFolderAndNoFile) {
  PlacePackage({{"blog/images/", "", 1}, {"blog/x.txt", "", 1}});
  ASSERT_TRUE(Unpack());
  DWORD attributes = GetFileAttributesW(tk::ToWide(Staged("blog\\images")).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(Exists(Staged("blog\\x.txt")));
  EXPECT_EQ(Products(), std::vector<std::string>{"blog"});
  EXPECT_EQ(progress.lines[0], "..\\blog\\images\\");
  EXPECT_EQ(progress.position, 2);
  EXPECT_TRUE(last.files.empty());  // the install run's gauge counts files only
}

TEST_F(Staging, LetsGoOfThePackageSoASecondStagingWorks) {
  PlacePackage({{"forum/a.jsp", "a"}});
  ASSERT_TRUE(Unpack());
  EXPECT_TRUE(Unpack());
  EXPECT_EQ(Products(), std::vector<std::string>{"forum"});
  // Nobody holds it: another program can open it unshared.
  tk::TFileStream other(Package(), tk::FileMode::OpenReadWrite);
}

TEST_F(Staging, APackageChangedSinceItsIndexWasReadIsDamagedAndNotStaged) {
  PlacePackage({{"forum/a.jsp", "a"}, {"forum/b.jsp", "b"}});
  const pub::PackageIndex index = pub::ReadPackageIndex(pub::LocatePackage(folders.setupFolder), "");
  ASSERT_TRUE(index.Usable()) << index.detail;
  // Another package under the same name: the offsets the index holds are not its offsets.
  PlacePackage({{"forum/a.jsp", "another a"}, {"forum/b.jsp", "b"}});
  for (int writers : {1, 2}) {
    progress = RecordedProgress();
    const pub::StagingResult result = pub::UnpackPackage(index, StagingFolder(), &progress, writers);
    EXPECT_EQ(result.kind, pub::StagingResult::PackageDamaged) << writers << " writers";
    EXPECT_NE(result.detail.find("被更改"), std::string::npos) << result.detail;
    EXPECT_FALSE(Exists(Staged("forum\\a.jsp")));
  }
}

TEST_F(Staging, APackageGoneSinceItsIndexWasReadIsMissing) {
  PlacePackage({{"forum/a.jsp", "a"}, {"forum/b.jsp", "b"}});
  const pub::PackageIndex index = pub::ReadPackageIndex(pub::LocatePackage(folders.setupFolder), "");
  ASSERT_TRUE(DeleteFileW(tk::ToWide(Package()).c_str()));
  for (int writers : {1, 2}) {
    const pub::StagingResult result = pub::UnpackPackage(index, StagingFolder(), &progress, writers);
    EXPECT_EQ(result.kind, pub::StagingResult::PackageMissing) << writers << " writers";
    EXPECT_EQ(result.detail, Package());
  }
}

TEST_F(Staging, APackageNotReadIsRefusedAsItsIndexSaysAndNothingIsMade) {
  PlacePackage({{"forum/a.jsp", "a"}});
  pub::PackageIndex index = pub::ReadPackageIndex(pub::LocatePackage(folders.setupFolder), "");
  index.kind = pub::PackageIndex::Refused;
  index.detail = "why";
  RemoveTree(StagingFolder());
  const pub::StagingResult result = pub::UnpackPackage(index, StagingFolder(), &progress);
  EXPECT_EQ(result.kind, pub::StagingResult::PackageRefused);
  EXPECT_EQ(result.detail, "why");
  EXPECT_FALSE(Exists(StagingFolder())) << "the staging folder is not even made";
}

TEST_F(Staging, AReadOnlyPackageStagesAndIsLeftByteForByte) {
  PlacePackage({{"forum/a.jsp", "a"}});
  std::string before = ReadFile(Package());
  ASSERT_TRUE(SetFileAttributesW(tk::ToWide(Package()).c_str(), FILE_ATTRIBUTE_READONLY));
  pub::StagingResult result = Stage();
  SetFileAttributesW(tk::ToWide(Package()).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(result.Succeeded()) << result.detail;
  EXPECT_EQ(ReadFile(Staged("forum\\a.jsp")), "a");
  EXPECT_EQ(ReadFile(Package()), before);
}

TEST_F(Staging, AMissingPackageIsReportedAsMissingAndNeverCreated) {
  PlacePackage({{"forum/a.jsp", "a"}});
  ASSERT_TRUE(DeleteFileW(tk::ToWide(Package()).c_str()));
  EXPECT_EQ(Stage().kind, pub::StagingResult::PackageMissing);
  EXPECT_FALSE(Exists(Package()));
}

TEST_F(Staging, DataPastTheEndOfThePackageFailStaging) {
  std::string package = BuildPackage({{"forum/a.jsp", "aaaa"}});
  // The size field of entry 0 lies 262 bytes into the directory, which follows the 4 data bytes.
  uint32_t size = 1000000;
  std::memcpy(&package[115 + 4 + 262], &size, 4);
  WriteFile(Package(), package);
  EXPECT_EQ(Stage().kind, pub::StagingResult::PackageDamaged);
}

TEST_F(Staging, HostileNamesRefuseThePackageAndWriteNothing) {
  std::string outside = folder.Path() + "outside.txt";
  for (const char* hostile : {"../outside.txt", "forum/../../outside.txt", "\\abs.txt", "/abs.txt", "C:x.txt",
                              "forum/a:b.txt", "forum\\..\\..\\outside.txt", "forum/CON", "forum/nul.txt",
                              "forum/com1.jsp", "forum/.../x", "forum/ /x", "forum/a\tb", "forum/x. "}) {
    SCOPED_TRACE(hostile);
    WriteFile(Package(), BuildPackage({{"forum/first.txt", "1"}, {hostile, "evil"}}));
    pub::StagingResult result = Stage();
    EXPECT_EQ(result.kind, pub::StagingResult::PackageDamaged);
    EXPECT_FALSE(Exists(outside));
    EXPECT_FALSE(Exists(Staged("forum\\first.txt"))) << "nothing is written before the names are checked";
  }
}

TEST_F(Staging, EachEntryIsCheckedAgainstItsDigestAsItIsWritten) {
  const std::vector<PackageFile> files = {{"forum/a.jsp", "aaaa"}, {"forum/b.jsp", "bbbb"}, {"cms/c.jsp", "cccc"}};
  std::string package = BuildPackageWithDigests(files);
  WriteFile(Package(), package);
  ASSERT_TRUE(Unpack()) << last.detail;
  ASSERT_EQ(progress.notes.size(), 1u);
  EXPECT_NE(progress.notes[0].find("安装包带摘要"), std::string::npos) << "the log says what was checked";

  // One byte of b.jsp's data (after the header and a.jsp's four bytes) changed after packing.
  package[115 + 4] ^= 1;
  WriteFile(Package(), package);
  RemoveTree(StagingFolder());
  const pub::StagingResult damaged = Stage();
  EXPECT_EQ(damaged.kind, pub::StagingResult::PackageDamaged);
  EXPECT_NE(damaged.detail.find("forum/b.jsp"), std::string::npos) << damaged.detail;
  EXPECT_FALSE(Exists(Staged("forum\\b.jsp"))) << "the damaged copy is removed";
  EXPECT_EQ(progress.lines, std::vector<std::string>{"..\\forum\\a.jsp"}) << "nothing after it is reported";
}

TEST_F(Staging, WithTheMakersKeyOnlyASignedPackageIsTaken) {
  const std::string key = ReadFile(QUARN_DIGEST_DATA "/maker-test.pub");
  ASSERT_EQ(key.size(), 65u);
  for (const std::string& package : {BuildPackage({{"forum/a.jsp", "a"}}), BuildPackageWithDigests({{"forum/a.jsp", "a"}})}) {
    WriteFile(Package(), package);
    const pub::StagingResult refused = Stage(key);
    EXPECT_EQ(refused.kind, pub::StagingResult::PackageRefused);
    EXPECT_NE(refused.detail.find("没有签名"), std::string::npos) << refused.detail;
    EXPECT_FALSE(Exists(Staged("forum"))) << "nothing is written";
  }
  WriteFile(Package(), ReadFile(QUARN_DIGEST_DATA "/signed.pak"));
  EXPECT_TRUE(Stage(key).Succeeded());
  EXPECT_EQ(ReadFile(QUARN_DIGEST_DATA "/other-test.pub").size(), 65u);
  RemoveTree(StagingFolder());
  const pub::StagingResult other = Stage(ReadFile(QUARN_DIGEST_DATA "/other-test.pub"));
  EXPECT_EQ(other.kind, pub::StagingResult::PackageRefused) << "signed by another maker";
}

TEST_F(Staging, AnOldPackageWithoutDigestsIsTakenAndTheLogSaysSo) {
  PlacePackage({{"forum/a.jsp", "a"}});
  ASSERT_TRUE(Unpack());
  ASSERT_EQ(progress.notes.size(), 1u);
  EXPECT_NE(progress.notes[0].find("不带摘要"), std::string::npos) << progress.notes[0];
}

namespace {

// Enough entries in enough folders for writers to overlap, each file's content its own name.
std::vector<PackageFile> ManyEntries() {
  std::vector<PackageFile> files;
  for (int i = 0; i < 240; ++i) {
    const std::string name = "product" + std::to_string(i % 3) + "/f" + std::to_string(i / 40) + "/e" +
                             std::to_string(1000 + i) + ".txt";
    files.push_back({name, name});
  }
  return files;
}

}  // namespace

TEST_F(Staging, WithOneTwoOrFourWritersEveryEntryIsWrittenAndReportedInPackageOrder) {
  PlacePackage(ManyEntries());
  std::vector<std::string> expected;
  for (int writers : {1, 2, 4}) {
    RemoveTree(StagingFolder());
    Stage(std::string(), writers);
    ASSERT_TRUE(last.Succeeded()) << writers << " writers: " << last.detail;
    if (expected.empty()) expected = progress.lines;  // the package's order, as one writer reports it
    EXPECT_EQ(progress.lines, expected) << writers << " writers";
    EXPECT_EQ(last.files.size(), 240u);
    EXPECT_EQ(progress.position, 240);
    EXPECT_EQ(Products(), (std::vector<std::string>{"product0", "product1", "product2"}));
    for (const std::string& line : progress.lines) {
      const std::string name = line.substr(3);  // after "..\"
      std::string stored = name;
      for (char& c : stored)
        if (c == '\\') c = '/';
      ASSERT_EQ(ReadFile(Staged(name)), stored) << writers << " writers";
    }
  }
  ASSERT_EQ(expected.size(), 240u);
}

// Staging writes only into a staging folder made anew: one that cannot be cleared first (a
// file in it held by another program) stops staging before anything is written.
TEST_F(Staging, AStagingFolderThatCannotBeClearedStopsStagingBeforeAnythingIsWritten) {
  PlacePackage(ManyEntries());
  const std::string held = Staged("product1\\f2\\e1082.txt"), other = Staged("product2\\f5\\e1233.txt");
  MakeFolders(Staged("product1\\f2"));
  MakeFolders(Staged("product2\\f5"));
  for (int writers : {1, 2}) {
    tk::TFileStream holder(held, tk::FileMode::Create);
    WriteFile(other, "left by an earlier run");
    Stage(std::string(), writers);
    EXPECT_EQ(last.kind, pub::StagingResult::CannotWrite) << writers << " writers";
    EXPECT_NE(last.detail.find(pub::WithoutTrailingBackslash(StagingFolder())), std::string::npos)
        << last.detail;
    EXPECT_TRUE(progress.lines.empty()) << "nothing staged, nothing reported";
    EXPECT_FALSE(Exists(other)) << "what could be cleared was";
  }
}
