// The archive object's ExtractEntry and ReadEntry: exactly DataSize bytes from DataOffset, in whole chunks.
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "pak/Pak.h"
#include "toolkit/core/Errors.h"

using namespace pakt;
using pak::TkexPak;

TEST(PakExtract, EmptyEntryGivesAnEmptyFileWhateverItsOffset) {
  ScratchFolder dir;
  WriteBytes(dir / "a.pak", ArchiveBytes({}, "abc", {{"far", 0, 0xFFFFFFF0u, 0}, {"inside", 0, 3, 0}}));
  WriteBytes(dir / "old", "content that must go");
  TkexPak pak(nullptr, NativeName(dir / "a.pak"));
  pak.ExtractEntry(0, NativeName(dir / "old"));
  pak.ExtractEntry(1, NativeName(dir / "new"));
  EXPECT_EQ(ReadBytes(dir / "old"), "");
  EXPECT_TRUE(std::filesystem::exists(dir / "new"));
  EXPECT_EQ(ReadBytes(dir / "new"), "");
}

TEST(PakExtract, OverlappingRangesExtractIndependently) {
  ScratchFolder dir;
  std::string data = Pattern(150000);  // more than two chunks
  WriteBytes(dir / "a.pak", ArchiveBytes({}, data, {{"a", 0, 115, 150000}, {"b", 0, 118, 7}, {"c", 0, 115 + 61439, 3}}));
  TkexPak pak(nullptr, NativeName(dir / "a.pak"));
  for (int i = 0; i < 3; ++i) pak.ExtractEntry(i, NativeName(dir / std::string(1, static_cast<char>('a' + i))));
  EXPECT_EQ(ReadBytes(dir / "a"), data);
  EXPECT_EQ(ReadBytes(dir / "b"), data.substr(3, 7));
  EXPECT_EQ(ReadBytes(dir / "c"), data.substr(61439, 3));
}

TEST(PakExtract, MissingFolderIsACreateErrorAndWritesNothing) {
  ScratchFolder dir;
  std::string bytes = ArchiveBytes({}, "abc", {{"a.txt", 0, 115, 3}});
  WriteBytes(dir / "a.pak", bytes);
  {
    TkexPak pak(nullptr, NativeName(dir / "a.pak"));
    EXPECT_THROW(pak.ExtractEntry(0, NativeName(dir / "missing" / "a.txt")), tk::EFCreateError);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_EQ(ReadBytes(dir / "a.pak"), bytes);
}

TEST(PakExtract, DataPastTheEndIsAReadErrorAfterTheWholeChunks) {
  ScratchFolder dir;
  std::string data = Pattern(100000);  // what follows has fewer bytes than a second chunk
  std::string bytes = ArchiveBytes({}, data, {{"long", 0, 115, 150000}, {"beyond", 0, 1000000, 10}});
  WriteBytes(dir / "a.pak", bytes);

  TkexPak pak(nullptr, NativeName(dir / "a.pak"));
  EXPECT_THROW(pak.ExtractEntry(0, NativeName(dir / "long")), tk::EReadError);
  EXPECT_EQ(ReadBytes(dir / "long"), data.substr(0, 61440)) << "the first chunk, whole; nothing of the second";
  EXPECT_THROW(pak.ExtractEntry(1, NativeName(dir / "beyond")), tk::EReadError);
  EXPECT_EQ(ReadBytes(dir / "beyond"), "");
}

TEST(PakExtract, ReadEntryGivesTheSameBytesInMemory) {
  ScratchFolder dir;
  std::string data = Pattern(150000);  // more than two chunks
  std::string bytes = ArchiveBytes(
      {}, data, {{"a", 0, 115, 150000}, {"b", 0, 118, 7}, {"empty", 0, 0xFFFFFFF0u, 0}, {"beyond", 0, 1000000, 10}});
  WriteBytes(dir / "a.pak", bytes);
  {
    TkexPak pak(nullptr, NativeName(dir / "a.pak"), pak::OpenFor::Updating);
    EXPECT_EQ(pak.ReadEntry(0), data);
    EXPECT_EQ(pak.ReadEntry(1), data.substr(3, 7));
    EXPECT_EQ(pak.ReadEntry(2), "");
    EXPECT_THROW(pak.ReadEntry(3), tk::EReadError) << "the archive ends before the data do";
    EXPECT_THROW(pak.ReadEntry(4), tk::EListError);
  }
  EXPECT_EQ(ReadBytes(dir / "a.pak"), bytes);
}
