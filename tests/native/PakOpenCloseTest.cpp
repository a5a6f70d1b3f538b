// The archive object opening an archive, holding it, and writing it back when destroyed.
#include <gtest/gtest.h>

#include <cstring>

#include "PakTestSupport.h"
#include "pak/Pak.h"
#include "toolkit/core/DateTime.h"
#include "toolkit/core/Errors.h"

using namespace pakt;
using pak::TkexPak;

namespace {

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

}  // namespace

TEST(PakOpenClose, FieldsWithoutTerminatorReadWhole) {
  ScratchFolder dir;
  std::string name256 = "forum/" + std::string(250, 'n');
  HeaderSpec header;
  header.version = "ABCDEFGHIJKLMNOPQRSTU";  // 21 bytes, no zero byte
  WriteBytes(dir / "a.pak", ArchiveBytes(header, "abc", {{name256, 0, 115, 3}}));

  TkexPak pak(nullptr, NativeName(dir / "a.pak"));
  EXPECT_EQ(pak.Header->VersionText(), "ABCDEFGHIJKLMNOPQRSTU");
  ASSERT_EQ(pak.Directory->Count(), 1);
  EXPECT_EQ(pak.Directory->Item(0).NameText(), name256);
}

TEST(PakOpenClose, IntactArchiveIsWrittenBackByteForByte) {
  ScratchFolder dir;
  HeaderSpec header;
  header.word0 = 7, header.word1 = 9, header.filler = "filler text, carried on";
  // Data out of order, a gap, a listed-only folder entry, and bytes after the directory.
  std::string bytes = ArchiveBytes(header, Pattern(300),
                                   {{"cms/b.jsp", 0, 315, 100}, {"blog/images/", 1, 0, 0}, {"forum/a.jsp", 0, 115, 50}}) +
                      "trailing bytes stay";
  WriteBytes(dir / "a.pak", bytes);
  {
    TkexPak pak(nullptr, NativeName(dir / "a.pak"));
    EXPECT_EQ(pak.Header->HeaderWord0, 7);
    EXPECT_EQ(pak.Header->HeaderWord1, 9);
    ASSERT_EQ(pak.Directory->Count(), 3);
    const pak::TkexPakDirectoryItem& folder = pak.Directory->Item(1);
    EXPECT_EQ(folder.NameText(), "blog/images/");
    EXPECT_EQ(folder.Kind, 1);
    EXPECT_EQ(pak.Directory->Item(2).DataOffset, 115u);
    EXPECT_EQ(pak.Directory->Item(2).DataSize, 50u);
  }
  EXPECT_EQ(ReadBytes(dir / "a.pak"), bytes);
}

TEST(PakOpenClose, NoEntriesMovesTheDirectoryBehindTheHeader) {
  ScratchFolder dir;
  HeaderSpec header;
  header.directoryOffset = 5000;
  std::string bytes = HeaderBytes(header) + Pattern(400);
  WriteBytes(dir / "a.pak", bytes);
  {
    TkexPak pak(nullptr, NativeName(dir / "a.pak"));
    EXPECT_EQ(pak.Directory->Count(), 0);
    EXPECT_EQ(pak.Header->DirectoryOffset, 115u);
  }
  std::string after = ReadBytes(dir / "a.pak");
  EXPECT_EQ(U32At(after, 4), 115u);
  bytes.replace(4, 4, after.substr(4, 4));
  EXPECT_EQ(after, bytes) << "only the directory offset may change";
}

TEST(PakOpenClose, MissingFileBecomesTheDefaultHeader) {
  ScratchFolder dir;
  tk::TDateTime before = tk::Now();
  { TkexPak pak(nullptr, NativeName(dir / "new.pak")); }
  tk::TDateTime after = tk::Now();

  std::string bytes = ReadBytes(dir / "new.pak");
  ASSERT_EQ(bytes.size(), 115u);
  EXPECT_EQ(bytes.substr(0, 12), std::string("\0\0\1\0\x73\0\0\0\0\0\0\0", 12));
  // The default description is GBK text: "Quarn" and five double-byte characters.
  std::string description = "Quarn\xC8\xED\xBC\xFE\xB9\xA4\xD7\xF7\xCA\xD2";
  description.resize(50, '\0');
  EXPECT_EQ(bytes.substr(12, 50), description);
  EXPECT_EQ(bytes.substr(62, 24), std::string(24, 'X'));
  EXPECT_EQ(bytes.substr(86, 21), std::string("1.0.0") + std::string(16, '\0'));
  double created;
  std::memcpy(&created, bytes.data() + 107, 8);
  EXPECT_GE(created, before);
  EXPECT_LE(created, after);
}

TEST(PakOpenClose, ShortFileKeepsDefaultsWhereItEnds) {
  ScratchFolder dir;
  HeaderSpec header;
  header.word0 = 7, header.word1 = 9, header.directoryOffset = 1234, header.description = "ABCDEFGH";
  std::string bytes = HeaderBytes(header).substr(0, 20);  // ends 8 bytes into the description
  WriteBytes(dir / "short.pak", bytes);
  {
    TkexPak pak(nullptr, NativeName(dir / "short.pak"));
    EXPECT_EQ(pak.Header->HeaderWord0, 7);
    EXPECT_EQ(pak.Header->HeaderWord1, 9);
    EXPECT_EQ(pak.Header->DirectoryOffset, 20u) << "the position after the header read";
    // The part of a field the file covers is read; the rest keeps the default bytes.
    EXPECT_EQ(pak.Header->DescriptionText(), "ABCDEFGH\xFE\xB9\xA4\xD7\xF7\xCA\xD2");
    EXPECT_EQ(pak.Header->VersionText(), "1.0.0");
    EXPECT_EQ(std::string(pak.Header->Filler, 24), std::string(24, 'X'));
    EXPECT_EQ(pak.Directory->Count(), 0);
  }
  std::string after = ReadBytes(dir / "short.pak");
  ASSERT_EQ(after.size(), 115u);
  EXPECT_EQ(U32At(after, 4), 20u);
  EXPECT_EQ(after.substr(12, 8), "ABCDEFGH");
}

TEST(PakOpenClose, HeldArchiveCannotBeOpenedAgain) {
  ScratchFolder dir;
  std::string bytes = ArchiveBytes({}, "abc", {{"a.txt", 0, 115, 3}});
  WriteBytes(dir / "a.pak", bytes);
  tk::Component owner(nullptr);
  {
    TkexPak first(nullptr, NativeName(dir / "a.pak"));
    EXPECT_THROW(new TkexPak(&owner, NativeName(dir / "a.pak")), tk::EFOpenError);
    EXPECT_EQ(owner.ComponentCount(), 0) << "the failed object left its owner";
  }
  EXPECT_EQ(ReadBytes(dir / "a.pak"), bytes);
}

TEST(PakOpenClose, IndexOutsideTheDirectoryIsAListError) {
  ScratchFolder dir;
  WriteBytes(dir / "a.pak", ArchiveBytes({}, "abc", {{"a.txt", 0, 115, 3}}));
  TkexPak pak(nullptr, NativeName(dir / "a.pak"));
  EXPECT_THROW(pak.Directory->Item(-1), tk::EListError);
  EXPECT_THROW(pak.Directory->Item(1), tk::EListError);
  EXPECT_THROW(pak.ExtractEntry(1, NativeName(dir / "out")), tk::EListError);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}
