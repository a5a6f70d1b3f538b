// The package's index: one open that reads what every step of a run takes (version, entries,
// sizes, products, the few small texts) and judges the names and the digest block, in every
// tree over packages laid out by hand and those quarnpak signed (tests/native/data).
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "common/portable/PackageIndex.h"
#include "pak/PakLocation.h"
#include "toolkit/core/Sha256.h"

using namespace pakt;
using pub::PackageIndex;
namespace fs = std::filesystem;

namespace {

fs::path Data(const char* name) { return fs::path(QUARN_DIGEST_DATA) / name; }

// Two products (one named in two cases), a listed-only folder, a file in the root, and an
// option file the run reads before staging.
std::string SoundArchive() {
  const std::string ini = "[mysqld]\nport=3307\n";
  std::string data = "forum page" + Pattern(70000) + ini + "r";
  return ArchiveBytes({}, data,
                      {{"eforum/index.jsp", 0, 115, 10},
                       {"ecms/big.bin", 0, 125, 70000},
                       {"eblog/", 1, 0, 0},
                       {"MySQL5/my.ini", 0, 70125, static_cast<uint32_t>(ini.size())},
                       {"EForum/b.jsp", 0, 115, 0},
                       {"readme.txt", 0, static_cast<uint32_t>(70125 + ini.size()), 1}});
}

PackageIndex IndexOf(const ScratchFolder& dir, const std::string& bytes, const std::string& makerKey = "",
                     const std::vector<std::string>& texts = {}) {
  WriteBytes(dir / "Setup.pak", bytes);
  return pub::ReadPackageIndex({NativeName(dir / "Setup.pak")}, makerKey, texts);
}

}  // namespace

TEST(PackageIndex, HoldsWhatEveryStepOfARunTakes) {
  ScratchFolder dir;
  const std::string bytes = SoundArchive();
  const PackageIndex index = IndexOf(dir, bytes, "", {"mysql5/MY.INI"});
  ASSERT_TRUE(index.Usable()) << index.detail;
  EXPECT_EQ(index.version, "1.0.0");
  EXPECT_DOUBLE_EQ(index.date, 39668.75);
  EXPECT_EQ(index.packageSize, static_cast<int64_t>(bytes.size()));
  ASSERT_EQ(index.Count(), 6);
  EXPECT_EQ(index.entries[2].name, "eblog/");
  EXPECT_EQ(index.entries[2].path, "eblog\\");
  EXPECT_FALSE(index.entries[2].file);
  EXPECT_EQ(index.entries[1].offset, 125u);
  EXPECT_EQ(index.entries[1].size, 70000u);
  EXPECT_EQ(index.products, (std::vector<std::string>{"eforum", "ecms", "eblog", "MySQL5"}))
      << "first met, each once whatever its case; a root file belongs to none";
  EXPECT_EQ(index.dataBytes, 10u + 70000 + 19 + 1);
  // Each entry takes whole 4 KiB clusters and one more: 2 + 19 + 1 + 2 + 1 + 2.
  EXPECT_EQ(index.unpackedBytes, 27u * 4096);
  ASSERT_NE(index.Text("MySQL5/my.ini"), nullptr) << "asked for in another case";
  EXPECT_EQ(*index.Text("MySQL5/my.ini"), "[mysqld]\nport=3307\n");
  EXPECT_EQ(index.Text("readme.txt"), nullptr) << "not asked for";
  EXPECT_FALSE(index.checkDigests) << "no digest block, no key: a development build takes it";
  tk::Sha256 anything;
  EXPECT_TRUE(index.EntryMatches(0, anything));
}

TEST(PackageIndex, AnEntryTooBigToReadIsNotReadIntoMemory) {
  ScratchFolder dir;
  const std::string data = Pattern(pub::kMaxIndexText + 1);
  const PackageIndex index =
      IndexOf(dir, ArchiveBytes({}, data, {{"MySQL5/my.ini", 0, 115, static_cast<uint32_t>(data.size())}}), "",
              {"MySQL5/my.ini"});
  ASSERT_TRUE(index.Usable()) << index.detail;
  EXPECT_EQ(index.Text("MySQL5/my.ini"), nullptr);
}

TEST(PackageIndex, AMissingPackageIsMissingAndNeverCreated) {
  ScratchFolder dir;
  const PackageIndex index = pub::ReadPackageIndex({NativeName(dir / "Setup.pak")}, "");
  EXPECT_EQ(index.kind, PackageIndex::Missing);
  EXPECT_EQ(index.detail, NativeName(dir / "Setup.pak"));
  EXPECT_FALSE(fs::exists(dir / "Setup.pak"));
}

TEST(PackageIndex, OneUnsafeNameOrABrokenDirectoryMakesTheWholePackageDamaged) {
  ScratchFolder dir;
  for (const char* name : {"../outside.txt", "eforum/../../x", "c:/boot.ini", "eforum/con.txt"}) {
    const PackageIndex index =
        IndexOf(dir, ArchiveBytes({}, "ab", {{"eforum/a.jsp", 0, 115, 1}, {name, 0, 116, 1}}));
    EXPECT_EQ(index.kind, PackageIndex::Damaged) << name;
    EXPECT_EQ(index.detail.rfind(name, 0), 0u) << "the entry is named: " << index.detail;
    EXPECT_TRUE(index.entries.empty()) << "nothing of a damaged package is taken";
  }
  std::string cut = SoundArchive();
  cut.resize(cut.size() - 100);  // the directory runs past the end
  EXPECT_EQ(IndexOf(dir, cut).kind, PackageIndex::Damaged);
}

TEST(PackageIndex, TheDigestBlockIsJudgedAndEachEntryCheckedAgainstItsDigest) {
  ScratchFolder dir;
  const std::string bytes = ReadBytes(Data("signed.pak"));
  const std::string makerKey = ReadBytes(Data("maker-test.pub"));
  const PackageIndex index = IndexOf(dir, bytes, makerKey);
  ASSERT_TRUE(index.Usable()) << index.detail;
  EXPECT_TRUE(index.checkDigests);
  EXPECT_NE(index.trustNote.find("签名有效"), std::string::npos);
  ASSERT_EQ(index.digests.size(), index.entries.size());
  for (int32_t i = 0; i < index.Count(); ++i) {
    const pub::PackageEntry& entry = index.entries[i];
    if (!entry.file) continue;
    tk::Sha256 digest;
    digest.Update(bytes.substr(entry.offset, entry.size));
    EXPECT_TRUE(index.EntryMatches(i, digest)) << entry.name;
    digest.Update(bytes.substr(entry.offset, entry.size) + "x");
    EXPECT_FALSE(index.EntryMatches(i, digest)) << entry.name;
  }
  EXPECT_NE(index.MismatchText(0).find(index.entries[0].name), std::string::npos);

  const PackageIndex other = IndexOf(dir, bytes, ReadBytes(Data("other-test.pub")));
  EXPECT_EQ(other.kind, PackageIndex::Refused);
  EXPECT_NE(other.detail.find("另一把密钥"), std::string::npos) << other.detail;
  EXPECT_EQ(IndexOf(dir, ReadBytes(Data("unsigned.pak")), makerKey).kind, PackageIndex::Refused)
      << "a program with a key takes only signed packages";
  EXPECT_EQ(IndexOf(dir, SoundArchive(), makerKey).kind, PackageIndex::Refused) << "no block at all";
}

TEST(PackageIndex, IsReadInOneOpenAndLetsGoOfTheFile) {
  ScratchFolder dir;
  const int before = pak::PackageOpenCount();
  IndexOf(dir, SoundArchive(), "", {"MySQL5/my.ini"});
  EXPECT_EQ(pak::PackageOpenCount() - before, 1);
  fs::remove(dir / "Setup.pak");  // nobody holds it (Windows refuses to remove an open file)
  EXPECT_FALSE(fs::exists(dir / "Setup.pak"));
}

TEST(PackageIndex, TheTopFolderEndsAtTheFirstSeparatorThatIsACharacterOfItsOwn) {
  EXPECT_EQ(pub::TopFolderOf("forum\\a\\b.jsp"), "forum");
  EXPECT_EQ(pub::TopFolderOf("readme.txt"), "");
  EXPECT_EQ(pub::TopFolderOf("\x81\\\\x.txt"), "\x81\\") << "a trail byte 0x5C is no separator";
  EXPECT_EQ(pub::TopFolderOf("\x81\\"), "") << "a root file whose last character ends in 0x5C";
}
