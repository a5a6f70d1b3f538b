// The archive object opened for reading: what the installer's staging does with Setup.pak. It
// reads a package it may not write, never creates or changes one, and refuses a damaged one
// before anything is read from outside the file.
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "pak/Pak.h"
#include "toolkit/core/Errors.h"

using namespace pakt;
using pak::OpenFor;
using pak::TkexPak;

namespace {

// Header, three files' data and a listed-only folder entry, as quarnpak lays them out.
std::string SoundArchive() {
  std::string data = "forum page" + Pattern(70000) + "cms";
  return ArchiveBytes({}, data,
                      {{"eforum/index.jsp", 0, 115, 10}, {"ecms/big.bin", 0, 125, 70000}, {"eblog/", 1, 0, 0},
                       {"ecms/c.txt", 0, 70125, 3}});
}

}  // namespace

TEST(PakReading, ReadOnlyPackageIsExtractedAndLeftUnchanged) {
  ScratchFolder dir;
  std::string bytes = SoundArchive();
  WriteBytes(dir / "Setup.pak", bytes);
  ReadOnlyMark readOnly(dir / "Setup.pak");
  if (!readOnly.WritesRefused()) GTEST_SKIP() << "this user (root) may write a read-only file: nothing to prove";
  {
    TkexPak pak(nullptr, NativeName(dir / "Setup.pak"), OpenFor::Reading);
    ASSERT_EQ(pak.Directory->Count(), 4);
    pak.ExtractEntry(1, NativeName(dir / "big.bin"));
    EXPECT_EQ(ReadBytes(dir / "big.bin"), bytes.substr(125, 70000));
  }
  EXPECT_EQ(ReadBytes(dir / "Setup.pak"), bytes);
}

TEST(PakReading, EveryEntryExtractsAndTheFileIsNeverWrittenBack) {
  ScratchFolder dir;
  // An archive with no entries and a stray directory offset: opened for updating, its header
  // would be rewritten on close; opened for reading, not one byte may change.
  std::string empty = HeaderBytes({0, 1, 5000, 0}) + "tail";
  std::string sound = SoundArchive();
  WriteBytes(dir / "empty.pak", empty);
  WriteBytes(dir / "sound.pak", sound);
  {
    TkexPak pak(nullptr, NativeName(dir / "empty.pak"), OpenFor::Reading);
    EXPECT_EQ(pak.Directory->Count(), 0);
    EXPECT_EQ(pak.Header->DirectoryOffset, 5000u) << "kept as read";
  }
  {
    TkexPak pak(nullptr, NativeName(dir / "sound.pak"), OpenFor::Reading);
    EXPECT_EQ(pak.Header->VersionText(), "1.0.0");
    for (int32_t i = 0; i < pak.Directory->Count(); ++i)
      if (pak.Directory->Item(i).Kind == pak::kKindFile) pak.ExtractEntry(i, NativeName(dir / std::to_string(i)));
  }
  EXPECT_EQ(ReadBytes(dir / "0"), "forum page");
  EXPECT_EQ(ReadBytes(dir / "1"), sound.substr(125, 70000));
  EXPECT_EQ(ReadBytes(dir / "3"), "cms");
  EXPECT_EQ(ReadBytes(dir / "empty.pak"), empty);
  EXPECT_EQ(ReadBytes(dir / "sound.pak"), sound);
}

TEST(PakReading, MissingPackageIsToldApartAndNeverCreated) {
  ScratchFolder dir;
  tk::Component owner(nullptr);
  try {
    new TkexPak(&owner, NativeName(dir / "Setup.pak"), OpenFor::Reading);
    FAIL() << "opened a missing package";
  } catch (const pak::EPackageMissing& error) {
    EXPECT_TRUE(tk::IsFileNotFoundError(error.ErrorCode())) << error.ErrorCode();
  }
  EXPECT_EQ(owner.ComponentCount(), 0) << "the failed object left its owner";
  EXPECT_FALSE(std::filesystem::exists(dir / "Setup.pak"));

  // A folder by that name is there, so it is no missing package, only one that cannot be opened.
  std::filesystem::create_directory(dir / "Setup.pak");
  try {
    TkexPak pak(nullptr, NativeName(dir / "Setup.pak"), OpenFor::Reading);
    FAIL() << "opened a folder as a package";
  } catch (const pak::EPackageMissing&) {
    FAIL() << "a folder was taken for a missing package";
  } catch (const tk::EFOpenError&) {
  }
}

TEST(PakReading, SecondReaderSharesAndAnUpdaterIsKeptOut) {
  ScratchFolder dir;
  std::string bytes = SoundArchive();
  WriteBytes(dir / "Setup.pak", bytes);
  std::string name = NativeName(dir / "Setup.pak");
  TkexPak first(nullptr, name, OpenFor::Reading);
  TkexPak second(nullptr, name, OpenFor::Reading);
  EXPECT_EQ(second.Directory->Count(), 4);
  EXPECT_THROW(TkexPak(nullptr, name), tk::EFOpenError);
  EXPECT_EQ(ReadBytes(dir / "Setup.pak"), bytes);
}

// Each damaged layout must raise EPackageDamaged at open, and leave the file as it was.
TEST(PakReading, DamagedPackagesAreRefusedAtOpen) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string header = HeaderBytes({});
  std::string oneEntry = ArchiveBytes({}, "abc", {{"a.txt", 0, 115, 3}});
  std::vector<Case> cases = {
      {"empty file", ""},
      {"header cut one byte short", header.substr(0, 114)},
      {"more entries than the format holds", HeaderBytes({0, 1, 115, 65536}) + std::string(266, 'e')},
      {"directory cut one byte short", oneEntry.substr(0, oneEntry.size() - 1)},
      {"directory far past the end", HeaderBytes({0, 1, 1000000, 1}) + std::string(266, 'e')},
      {"directory offset wrapping 32 bits", HeaderBytes({0, 1, 0xFFFFFF00u, 1}) + EntryBytes({"a", 0, 115, 0})},
      // 384 bytes: header, "abc", one entry.
      {"file data one byte past the end", ArchiveBytes({}, "abc", {{"a.txt", 0, 381, 4}})},
      {"file data offset wrapping 32 bits", ArchiveBytes({}, "abc", {{"a.txt", 0, 0xFFFFFFFFu, 2}})},
      {"file data size wrapping 32 bits", ArchiveBytes({}, "abc", {{"a.txt", 0, 116, 0xFFFFFFFFu}})},
      // 650 bytes: header, "abc", two entries.
      {"second entry bad, first sound", ArchiveBytes({}, "abc", {{"a", 0, 115, 3}, {"b", 0, 650, 1}})},
  };
  ScratchFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(dir / "Setup.pak", c.bytes);
    EXPECT_THROW(TkexPak(nullptr, NativeName(dir / "Setup.pak"), OpenFor::Reading), pak::EPackageDamaged);
    EXPECT_EQ(ReadBytes(dir / "Setup.pak"), c.bytes);
  }
}

// The edges that are sound: only data that unpacking reads must lie inside the file.
TEST(PakReading, PartsEndingAtTheEndAndUnreadRangesAreAccepted) {
  ScratchFolder dir;
  std::string data = Pattern(40);
  WriteBytes(dir / "Setup.pak", ArchiveBytes({}, data,
                                             {{"last", 0, 115 + 30, 10},
                                              {"empty far away", 0, 0xFFFFFFF0u, 0},
                                              {"folder/", 1, 0xFFFFFFF0u, 0xFFFFFFF0u},
                                              {"listed kind 7", 7, 0xFFFFFFF0u, 100}}));
  WriteBytes(dir / "no-entries.pak", HeaderBytes({0, 1, 0xFFFFFFFFu, 0}));
  {
    TkexPak pak(nullptr, NativeName(dir / "Setup.pak"), OpenFor::Reading);
    ASSERT_EQ(pak.Directory->Count(), 4);
    pak.ExtractEntry(0, NativeName(dir / "last"));
    pak.ExtractEntry(1, NativeName(dir / "empty"));
  }
  EXPECT_EQ(ReadBytes(dir / "last"), data.substr(30));
  EXPECT_EQ(ReadBytes(dir / "empty"), "");
  TkexPak none(nullptr, NativeName(dir / "no-entries.pak"), OpenFor::Reading);
  EXPECT_EQ(none.Directory->Count(), 0);
}
