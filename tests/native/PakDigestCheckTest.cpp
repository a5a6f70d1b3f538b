// Packages with a digest block, as quarnpak writes them (tests/native/data: signed.pak signed
// with maker-test-key.pem, unsigned.pak), read by the archive object and by quarnpak's reader,
// checked and judged as the installer judges them. In every tree: under Wine the signature and
// the digests are checked by CNG.
#include <gtest/gtest.h>

#include <cstring>

#include "PakTestSupport.h"
#include "pak/Pak.h"
#include "pak/PakTrust.h"
#include "tools/quarnpak/ArchiveReader.h"
#include "tools/quarnpak/EntryChecks.h"

using namespace pakt;
using pak::DigestBlockState;
using pak::OpenFor;
using pak::TkexPak;
namespace fs = std::filesystem;

namespace {

fs::path Data(const char* name) { return fs::path(QUARN_DIGEST_DATA) / name; }

uint32_t UInt32At(const std::string& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

// Where the fixture's parts lie: its directory offset is at 4 and its entry count at 8.
uint64_t BlockOffset(const std::string& bytes) { return UInt32At(bytes, 4) + uint64_t{UInt32At(bytes, 8)} * 266; }

struct Judged {
  pak::PackageTrust trust;
  std::vector<int32_t> mismatched;
};

// What the installer would do: open for reading, check the block, judge it, then check the data.
Judged Judge(const ScratchFolder& dir, const std::string& bytes, const std::string& makerKey) {
  fs::path package = dir / "Setup.pak";
  WriteBytes(package, bytes);
  TkexPak pak(nullptr, NativeName(package), OpenFor::Reading);
  pak::DigestCheck check = pak::ReadDigestCheck(*pak.Stream, *pak.Header, pak.Stream->Size());
  Judged judged{pak::JudgePackage(check, makerKey), {}};
  if (judged.trust.checkEntries) judged.mismatched = pak::MismatchedEntries(*pak.Stream, *pak.Directory, check.block);
  return judged;
}

}  // namespace

TEST(PakDigestCheck, ReadersThatIgnoreTheBlockStillTakeThePackage) {
  ScratchFolder dir;
  std::string bytes = ReadBytes(Data("signed.pak"));
  ASSERT_GT(bytes.size(), BlockOffset(bytes)) << "the fixture carries a block";
  fs::path package = dir / "Setup.pak";
  WriteBytes(package, bytes);
  {
    // Opened for reading, as staging opens Setup.pak: every file entry extracts whole.
    TkexPak pak(nullptr, NativeName(package), OpenFor::Reading);
    ASSERT_EQ(pak.Directory->Count(), 5);
    pak.ExtractEntry(4, NativeName(dir / "index.jsp"));
    EXPECT_EQ(ReadBytes(dir / "index.jsp"), "<html>forum</html>");
  }
  {
    // Opened for updating, as the archive object of old: its write-back leaves the block intact.
    TkexPak pak(nullptr, NativeName(package), OpenFor::Updating);
  }
  EXPECT_EQ(ReadBytes(package), bytes);
  // quarnpak's structural checks see nothing wrong either.
  qp::ArchiveReader reader(package);
  reader.LoadDirectory();
  EXPECT_TRUE(qp::CheckEntries(reader.Directory(), reader.FileSize()).empty());
}

TEST(PakDigestCheck, DigestsAreComputedAsEntriesAreExtracted) {
  ScratchFolder dir;
  fs::path package = dir / "Setup.pak";
  WriteBytes(package, ReadBytes(Data("signed.pak")));
  TkexPak pak(nullptr, NativeName(package), OpenFor::Reading);
  pak::DigestCheck check = pak::ReadDigestCheck(*pak.Stream, *pak.Header, pak.Stream->Size());
  ASSERT_EQ(check.state, DigestBlockState::Present) << check.problem;
  for (int32_t i = 0; i < pak.Directory->Count(); ++i) {
    if (pak.Directory->Item(i).Kind != pak::kKindFile) continue;
    tk::Sha256 digest;
    pak.ExtractEntry(i, NativeName(dir / "entry"), &digest);
    EXPECT_EQ(digest.Finish(), check.block.entries[i]) << "entry " << i;
  }
}

TEST(PakDigestCheck, EachDamageIsFoundAndNamed) {
  ScratchFolder dir;
  const std::string signedPak = ReadBytes(Data("signed.pak"));
  const std::string unsignedPak = ReadBytes(Data("unsigned.pak"));
  const std::string makerKey = ReadBytes(Data("maker-test.pub"));
  const std::string otherKey = ReadBytes(Data("other-test.pub"));
  const uint64_t block = BlockOffset(signedPak);
  auto flipped = [](std::string bytes, uint64_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
    std::string key;
    bool accepted;
    const char* mention;
    std::vector<int32_t> mismatched;
  };
  const uint64_t directory = UInt32At(signedPak, 4);
  const Case cases[] = {
      {"intact, the maker's key", signedPak, makerKey, true, "签名有效", {}},
      {"intact, no key built in", signedPak, "", true, "未核对制作者", {}},
      // forum/index.jsp's data lie at 133: the block is sound, the entry is not.
      {"a byte of entry data", flipped(signedPak, 140), makerKey, true, "签名有效", {4}},
      {"a byte of entry data, no key", flipped(unsignedPak, 140), "", true, "未签名", {4}},
      // In the zero padding of the first entry's name: the name reads the same.
      {"a byte of the directory", flipped(signedPak, directory + 200), "", false, "文件头或目录", {}},
      {"a byte of the header", flipped(signedPak, 20), makerKey, false, "文件头或目录", {}},
      {"a byte of the digest table", flipped(signedPak, block + 16 + 32 * 3 + 5), "", false, "摘要表", {}},
      {"the block cut short", signedPak.substr(0, signedPak.size() - 10), makerKey, false, "截断", {}},
      {"the block cut inside its magic", signedPak.substr(0, block + 4), "", false, "截断", {}},
      {"a byte of the signature", flipped(signedPak, signedPak.size() - 3), makerKey, false, "签名无效", {}},
      {"a byte of the signature, no key", flipped(signedPak, signedPak.size() - 3), "", false, "签名无效", {}},
      // The named key is no point of the curve any more: a bad signature, not an error.
      {"a byte of the signer's key, no key", flipped(signedPak, block + 16 + 32 * 7 + 10), "", false, "签名无效", {}},
      {"signed with another key", signedPak, otherKey, false, "另一把密钥", {}},
      {"unsigned, a key built in", unsignedPak, makerKey, false, "没有签名", {}},
      {"no block, a key built in", signedPak.substr(0, block), makerKey, false, "没有签名", {}},
      {"no block, no key", signedPak.substr(0, block), "", true, "不带摘要", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Judged judged = Judge(dir, c.bytes, c.key);
    EXPECT_EQ(judged.trust.accepted, c.accepted);
    EXPECT_NE(judged.trust.message.find(c.mention), std::string::npos) << judged.trust.message;
    EXPECT_EQ(judged.mismatched, c.mismatched);
  }
}
