// The installer's digest checks on the system's CNG: a signature OpenSSL made is taken, any
// changed byte of it or of what it signs is not; the built-in key; and the per-entry check as
// the package's index makes for staging, on packages signed by quarnpak (tests/native/data).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/portable/PackageIndex.h"
#include "common/win/PackageDigest.h"
#include "pak/Pak.h"
#include "pak/PakDigestCheck.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path Data(const char* name) { return fs::path(QUARN_DIGEST_DATA) / name; }

std::string GbkName(const fs::path& path) { return tk::FromWide(path.wstring()); }

// A scratch copy of a fixture, so the archive object may hold it as it likes.
class Package {
 public:
  explicit Package(const std::string& bytes) {
    path_ = fs::temp_directory_path() / ("quarn-digest-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(path_);
    std::ofstream(path_ / "Setup.pak", std::ios::binary) << bytes;
  }
  ~Package() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  fs::path operator/(const char* name) const { return path_ / name; }

 private:
  fs::path path_;
};

}  // namespace

TEST(PackageDigestCng, SignatureOfOpenSslIsTakenAndAnyChangeIsNot) {
  Package package(ReadAll(Data("signed.pak")));
  pak::TkexPak archive(nullptr, GbkName(package / "Setup.pak"), pak::OpenFor::Reading);
  pak::DigestCheck check = pak::ReadDigestCheck(*archive.Stream, *archive.Header, archive.Stream->Size());
  ASSERT_EQ(check.state, pak::DigestBlockState::Present) << check.problem;
  const std::string& key = check.block.publicKey;
  const std::string& signature = check.block.signature;
  EXPECT_EQ(key, ReadAll(Data("maker-test.pub")));
  EXPECT_TRUE(tk::VerifyP256(key, check.signedPart, signature));

  std::string message = check.signedPart;
  message[20] ^= 1;
  EXPECT_FALSE(tk::VerifyP256(key, message, signature));
  for (size_t at : {0u, 31u, 32u, 63u}) {
    std::string changed = signature;
    changed[at] ^= 0x40;
    EXPECT_FALSE(tk::VerifyP256(key, check.signedPart, changed)) << "signature byte " << at;
  }
  EXPECT_FALSE(tk::VerifyP256(key, check.signedPart, std::string(64, '\0')));
  EXPECT_FALSE(tk::VerifyP256(key, check.signedPart, signature.substr(0, 63)));
  EXPECT_FALSE(tk::VerifyP256(ReadAll(Data("other-test.pub")), check.signedPart, signature));
  // Wine's CNG takes a point off the curve (Windows refuses it); no signature verifies under it.
  bool verified = true;
  try {
    verified = tk::VerifyP256("\x04" + std::string(64, '\x01'), check.signedPart, signature);
  } catch (const tk::ECryptoError&) {
    verified = false;
  }
  EXPECT_FALSE(verified);
  EXPECT_THROW(tk::VerifyP256(std::string(65, '\x02'), check.signedPart, signature), tk::ECryptoError);
}

TEST(PackageDigestCng, ADevelopmentBuildHasNoKey) {
  // The test program carries no key resource, as a build without one.
  EXPECT_EQ(pub::EmbeddedMakerKey(), "");
}

TEST(PackageDigestCng, EntriesAreCheckedAsStagingWritesThem) {
  std::string bytes = ReadAll(Data("signed.pak"));
  bytes[140] ^= 1;  // forum/index.jsp, entry 4, holds bytes 133 to 150
  Package package(bytes);
  const pak::PackageLocation location{GbkName(package / "Setup.pak")};
  const pub::PackageIndex index = pub::ReadPackageIndex(location, ReadAll(Data("maker-test.pub")));
  ASSERT_TRUE(index.Usable()) << index.detail;
  for (int32_t i = 0; i < index.Count(); ++i) {
    const pub::PackageEntry& entry = index.entries[i];
    if (!entry.file) continue;
    tk::Sha256 digest;
    digest.Update(bytes.substr(entry.offset, entry.size));
    EXPECT_EQ(index.EntryMatches(i, digest), i != 4) << "entry " << i;
  }
  EXPECT_NE(index.MismatchText(4).find("forum/index.jsp"), std::string::npos);

  EXPECT_EQ(pub::ReadPackageIndex(location, ReadAll(Data("other-test.pub"))).kind, pub::PackageIndex::Refused);
}
