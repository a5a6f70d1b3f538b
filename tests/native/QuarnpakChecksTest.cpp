// quarnpak's refusals: unsafe names, the format's limits, damaged archives, failed writes.
#include <gtest/gtest.h>

#include <cmath>

#include "PakTestSupport.h"
#include "pak/PakDigestBlock.h"
#include "pak/PakFields.h"
#include "toolkit/core/DateTime.h"
#include "tools/quarnpak/ArchivePlan.h"
#include "tools/quarnpak/ArchiveReader.h"
#include "tools/quarnpak/EntryChecks.h"
#include "tools/quarnpak/PakWriter.h"
#include "tools/quarnpak/ToolError.h"

using namespace pakt;
using namespace qp;
namespace fs = std::filesystem;

namespace {

std::vector<SourceEntry> Files(size_t count, uint64_t size = 0) {
  std::vector<SourceEntry> entries;
  for (size_t i = 0; i < count; ++i) entries.push_back({"f/" + std::to_string(i), 0, fs::path(), size});
  return entries;
}

void ExpectRefused(const std::vector<SourceEntry>& entries, const std::string& version, const std::string& description,
                   const std::string& mention) {
  try {
    PlanArchive(entries, version, description);
    ADD_FAILURE() << "accepted; expected a refusal mentioning " << mention;
  } catch (const ToolError& error) {
    EXPECT_NE(std::string(error.what()).find(mention), std::string::npos) << error.what();
  }
}

}  // namespace

TEST(ArchivePlan, LimitsOfTheFormat) {
  EXPECT_EQ(PlanArchive(Files(65535), "1.0.0", "d").entries.size(), 65535u);
  ExpectRefused(Files(65536), "1.0.0", "d", "65535");

  // Exactly 4,294,967,295 bytes fit; one more does not.
  uint64_t room = 0xFFFFFFFFull - ArchiveSizeFor(2, 0);
  std::vector<SourceEntry> big = Files(2, room / 2);
  big[1].size = room - big[0].size;
  EXPECT_EQ(PlanArchive(big, "1.0.0", "d").archiveSize, 0xFFFFFFFFull);
  big[1].size += 1;
  ExpectRefused(big, "1.0.0", "d", "4294967295");
}

TEST(ArchivePlan, TextsMustFitTheirFieldsInGbk) {
  std::string chinese128;
  for (int i = 0; i < 128; ++i) chinese128 += u8"论";
  EXPECT_EQ(PlanArchive({{chinese128, 0, fs::path(), 0}}, "1.0.0", "d").entries[0].name.size(), 256u);
  ExpectRefused({{"a" + chinese128, 0, fs::path(), 0}}, "1.0.0", "d", "257 bytes");
  ExpectRefused({{u8"\uD55C.txt", 0, fs::path(), 0}}, "1.0.0", "d", "GBK");
  ExpectRefused({{"a:b", 0, fs::path(), 0}}, "1.0.0", "d", "a:b");

  EXPECT_EQ(PlanArchive({}, "ABCDEFGHIJKLMNOPQRSTU", std::string(50, 'd')).version.size(), 21u);
  ExpectRefused({}, "ABCDEFGHIJKLMNOPQRSTUV", "d", "version");
  ExpectRefused({}, u8"版本版本版本版本版本版", "d", "22 bytes");
  ExpectRefused({}, "1.0.0", std::string(51, 'd'), "description");
}

namespace {

std::unique_ptr<pak::TkexPakDirectory> Directory(const std::vector<EntrySpec>& entries) {
  auto directory = std::make_unique<pak::TkexPakDirectory>();
  for (const EntrySpec& e : entries) {
    auto item = std::make_unique<pak::TkexPakDirectoryItem>();
    pak::SetFieldText(item->Name, pak::kNameSize, e.name);
    item->Kind = e.kind, item->DataOffset = e.offset, item->DataSize = e.size;
    directory->Items.push_back(std::move(item));
  }
  return directory;
}

}  // namespace

TEST(EntryChecks, DataRangesAreCheckedWithoutWrapAround) {
  auto problems = CheckEntries(*Directory({{"ok", 0, 100, 100},
                                          {"wraps", 0, 0xFFFFFFF0u, 0x20},
                                          {"empty", 0, 0xFFFFFFF0u, 0},
                                          {"folder/", 1, 0xFFFFFFF0u, 0x20},
                                          {"long", 0, 199, 2}}),
                               200);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].index, 1);
  EXPECT_EQ(problems[1].index, 4);
  EXPECT_EQ(Describe(problems[0]).substr(0, 16), "entry 1 \"wraps\":");
}

TEST(EntryChecks, AFileCannotStandWhereAFolderIsNeeded) {
  EXPECT_TRUE(CheckEntries(*Directory({{"a/x", 0, 0, 0}, {"a/y", 0, 0, 0}, {"a/", 1, 0, 0}}), 200).empty());
  auto problems = CheckEntries(*Directory({{"A/x", 0, 0, 0}, {"a", 0, 0, 0}}), 200);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].index, 1);
  EXPECT_EQ(CheckEntries(*Directory({{"b", 0, 0, 0}, {"b/c/", 1, 0, 0}}), 200).size(), 1u);
  // Windows matches full-width letters without regard to case too.
  EXPECT_EQ(CheckEntries(*Directory({{"\xA3\xC1/x", 0, 0, 0}, {"\xA3\xE1", 0, 0, 0}}), 200).size(), 1u);
}

TEST(ArchiveReader, RefusesWhatNoReaderCanUse) {
  ScratchFolder dir;
  auto refused = [&](const std::string& bytes, bool directory) {
    WriteBytes(dir / "a.pak", bytes);
    try {
      ArchiveReader reader(dir / "a.pak");
      if (directory) reader.LoadDirectory();
    } catch (const ToolError&) {
      EXPECT_EQ(ReadBytes(dir / "a.pak"), bytes) << "the archive was changed";
      return true;
    }
    return false;
  };
  EXPECT_TRUE(refused(HeaderBytes({}).substr(0, 114), false));
  HeaderSpec tooMany;
  tooMany.entryCount = 65536;
  EXPECT_TRUE(refused(HeaderBytes(tooMany), true));
  std::string twoEntries = ArchiveBytes({}, "", {{"a", 0, 0, 0}, {"b", 0, 0, 0}});
  EXPECT_TRUE(refused(twoEntries.substr(0, twoEntries.size() - 1), true));
  HeaderSpec farDirectory;
  farDirectory.entryCount = 1, farDirectory.directoryOffset = 0xFFFFFFFFu;
  EXPECT_TRUE(refused(HeaderBytes(farDirectory) + EntryBytes({"a", 0, 0, 0}), true));
  EXPECT_FALSE(refused(twoEntries, true));
}

TEST(PakWriter, FailureLeavesTheOldOutputAndNoTemporaryFile) {
  ScratchFolder dir;
  WriteBytes(dir / "data", "12345");
  WriteBytes(dir / "out.pak", "previous archive");
  auto plan = [&](uint64_t size) {
    return PlanArchive({{"data", 0, dir / "data", size}}, "1.0.0", "d");
  };
  EXPECT_THROW(WriteArchive(plan(6), dir / "out.pak"), ToolError) << "the file shrank";
  EXPECT_THROW(WriteArchive(plan(4), dir / "out.pak"), ToolError) << "the file grew";
  fs::remove(dir / "data");
  EXPECT_THROW(WriteArchive(plan(5), dir / "out.pak"), ToolError) << "the file went away";
  EXPECT_EQ(ReadBytes(dir / "out.pak"), "previous archive");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

  WriteBytes(dir / "data", "12345");
  WriteArchive(plan(5), dir / "out.pak");  // replaces the old file
  std::string bytes = ReadBytes(dir / "out.pak");
  ASSERT_EQ(bytes.size(), 115u + 5 + 266 + pak::DigestBlockSize(1, false));
  EXPECT_EQ(bytes.substr(115, 5), "12345");
  EXPECT_EQ(bytes.substr(120, 5), std::string("data\0", 5));
  EXPECT_EQ(bytes.substr(115 + 5 + 266, 8), "QPDIGEST");
}

TEST(ArchiveInfo, CreationTimesOutsideTheCalendarShowAsInvalid) {
  // info prints whatever double a header holds; beyond years 1..9999 it must not be formatted.
  EXPECT_EQ(tk::FormatDateTime(tk::EncodeDateTime(2008, 8, 8, 20, 8, 8, 888)), "2008-08-08 20:08:08.888");
  for (double value : {1e300, -1e300, 2958466.0, -693594.0, std::nan("")})
    EXPECT_EQ(tk::FormatDateTime(value), "(invalid)") << value;
}
