// The digest block's form, and the platform digests and signature checks beneath it. Runs in
// every tree: natively over libcrypto, under Wine over CNG.
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "pak/PakDigestBlock.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"
#include "toolkit/core/Sha256.h"

using namespace pakt;
using pak::DigestBlockState;

namespace {

tk::Sha256Digest Filled(uint8_t byte) {
  tk::Sha256Digest digest;
  digest.fill(byte);
  return digest;
}

pak::DigestBlock TwoEntryBlock(bool isSigned) {
  pak::DigestBlock block;
  block.entries = {Filled(1), Filled(2)};
  block.indexDigest = Filled(3);
  block.blockDigest = Filled(4);
  block.isSigned = isSigned;
  if (isSigned) {
    block.publicKey = "\x04" + std::string(64, 'k');
    block.signature = std::string(64, 's');
  }
  return block;
}

}  // namespace

TEST(Sha256, KnownDigestsWholeAndInPieces) {
  EXPECT_EQ(tk::HexText(tk::Sha256Of("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(tk::HexText(tk::Sha256Of("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // A million 'a' in uneven pieces; then the same object starts afresh after Finish.
  tk::Sha256 hash;
  std::string piece(9973, 'a');
  size_t fed = 0;
  while (fed + piece.size() <= 1000000) {
    hash.Update(piece);
    fed += piece.size();
  }
  hash.Update(std::string(1000000 - fed, 'a'));
  EXPECT_EQ(tk::HexText(hash.Finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  hash.Update("abc");
  EXPECT_EQ(tk::HexText(hash.Finish()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(P256Signature, MalformedKeysAndSignaturesAreRefused) {
  // A point off the curve: refused by OpenSSL, taken by CNG under Wine, but never verifying.
  std::string offCurve = "\x04" + std::string(64, '\x01');
  bool verified = true;
  try {
    verified = tk::VerifyP256(offCurve, "m", std::string(64, '\x01'));
  } catch (const tk::ECryptoError&) {
    verified = false;
  }
  EXPECT_FALSE(verified);
  EXPECT_THROW(tk::VerifyP256(std::string(65, '\x02'), "m", std::string(64, '\x01')), tk::ECryptoError);
  EXPECT_THROW(tk::VerifyP256("\x04", "m", std::string(64, '\x01')), tk::ECryptoError);
}

TEST(DigestBlock, EncodesByTheLayoutAndParsesBack) {
  for (bool isSigned : {false, true}) {
    SCOPED_TRACE(isSigned ? "signed" : "unsigned");
    pak::DigestBlock block = TwoEntryBlock(isSigned);
    std::string bytes = pak::EncodeDigestBlock(block);
    ASSERT_EQ(bytes.size(), isSigned ? 209u + 64 : 80u + 64);
    EXPECT_EQ(bytes.substr(0, 16), std::string("QPDIGEST\x01\x00", 10) + (isSigned ? '\x01' : '\x00') +
                                       std::string("\x00\x02\x00\x00\x00", 5));
    EXPECT_EQ(bytes.substr(16, 32), std::string(32, '\x01'));
    EXPECT_EQ(bytes.substr(80, 32), std::string(32, '\x03'));
    EXPECT_EQ(bytes.substr(112, 32), std::string(32, '\x04'));
    EXPECT_EQ(pak::DigestTableSize(2), 112u);
    EXPECT_EQ(pak::DigestSignedSize(2), 209u);

    pak::DigestBlockRead read = pak::ParseDigestBlock(bytes, 2);
    ASSERT_EQ(read.state, DigestBlockState::Present) << read.problem;
    EXPECT_EQ(pak::EncodeDigestBlock(read.block), bytes);
  }
}

TEST(DigestBlock, WhatIsNoBlockAndWhatIsADamagedOne) {
  std::string good = pak::EncodeDigestBlock(TwoEntryBlock(true));
  struct Case {
    const char* what;
    std::string bytes;
    DigestBlockState state;
    const char* mention;
  };
  std::string wrongVersion = good, badFlags = good, wrongCount = good, flagCleared = good;
  wrongVersion[8] = 2;
  badFlags[10] = 3;
  wrongCount[12] = 3;
  flagCleared[10] = 0;  // a signed block read as unsigned: too long by the signature part
  const Case cases[] = {
      {"nothing", "", DigestBlockState::Absent, ""},
      {"other bytes", "older tool's trailer", DigestBlockState::Absent, "不是摘要块"},
      {"a cut magic", "QPDIG", DigestBlockState::Damaged, "截断"},
      {"a cut preamble", good.substr(0, 12), DigestBlockState::Damaged, "截断"},
      {"wrong version", wrongVersion, DigestBlockState::Damaged, "版本 2"},
      {"unknown flags", badFlags, DigestBlockState::Damaged, "标志 3"},
      {"wrong count", wrongCount, DigestBlockState::Damaged, "3 个条目"},
      {"cut signature", good.substr(0, good.size() - 1), DigestBlockState::Damaged, "截断"},
      {"bytes after it", good + "x", DigestBlockState::Damaged, "多出 1 字节"},
      {"signed flag cleared", flagCleared, DigestBlockState::Damaged, "多出 129 字节"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pak::DigestBlockRead read = pak::ParseDigestBlock(c.bytes, 2);
    EXPECT_EQ(read.state, c.state);
    EXPECT_NE(read.problem.find(c.mention), std::string::npos) << read.problem;
  }
}
