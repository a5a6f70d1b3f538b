#include "pak/PakDigestBlock.h"

#include <algorithm>
#include <cstring>

#include "toolkit/core/P256Signature.h"

namespace pak {
namespace {

constexpr size_t kPreambleSize = 16;
constexpr size_t kDigestSize = 32;

void PutUInt16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

void PutUInt32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t GetUInt(const std::string& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
  return value;
}

void PutDigest(std::string* out, const tk::Sha256Digest& digest) {
  out->append(reinterpret_cast<const char*>(digest.data()), digest.size());
}

tk::Sha256Digest GetDigest(const std::string& bytes, size_t at) {
  tk::Sha256Digest digest;
  std::memcpy(digest.data(), bytes.data() + at, digest.size());
  return digest;
}

std::string Count(uint64_t value) { return std::to_string(value); }

DigestBlockRead DamagedRead(std::string problem) {
  DigestBlockRead read;
  read.state = DigestBlockState::Damaged;
  read.problem = std::move(problem);
  return read;
}

}  // namespace

uint64_t DigestTableSize(uint32_t entryCount) { return kPreambleSize + uint64_t{entryCount} * kDigestSize + kDigestSize; }

uint64_t DigestSignedSize(uint32_t entryCount) {
  return DigestTableSize(entryCount) + kDigestSize + tk::kP256PublicKeySize;
}

uint64_t DigestBlockSize(uint32_t entryCount, bool isSigned) {
  return isSigned ? DigestSignedSize(entryCount) + tk::kP256SignatureSize : DigestTableSize(entryCount) + kDigestSize;
}

std::string EncodeDigestBlock(const DigestBlock& block) {
  std::string out(kDigestMagic, kDigestMagicSize);
  PutUInt16(&out, kDigestVersion);
  PutUInt16(&out, block.isSigned ? kDigestFlagSigned : 0);
  PutUInt32(&out, static_cast<uint32_t>(block.entries.size()));
  for (const tk::Sha256Digest& digest : block.entries) PutDigest(&out, digest);
  PutDigest(&out, block.indexDigest);
  PutDigest(&out, block.blockDigest);
  if (block.isSigned) {
    out += block.publicKey;
    out += block.signature;
  }
  return out;
}

void SealDigestBlock(DigestBlock* block, const std::string& headerAndDirectory) {
  block->indexDigest = tk::Sha256Of(headerAndDirectory);
  tk::Sha256 hash;
  hash.Update(headerAndDirectory);
  hash.Update(EncodeDigestBlock(*block).substr(0, DigestTableSize(static_cast<uint32_t>(block->entries.size()))));
  block->blockDigest = hash.Finish();
}

bool StartsAsDigestBlock(const std::string& bytes) {
  size_t magicSeen = std::min(bytes.size(), kDigestMagicSize);
  return !bytes.empty() && bytes.compare(0, magicSeen, kDigestMagic, magicSeen) == 0;
}

DigestBlockRead ParseDigestBlock(const std::string& bytes, uint32_t entryCount) {
  if (bytes.empty()) return DigestBlockRead{};
  if (!StartsAsDigestBlock(bytes)) {
    DigestBlockRead read;
    read.problem = "目录之后的 " + Count(bytes.size()) + " 字节不是摘要块";
    return read;
  }
  if (bytes.size() < kPreambleSize)
    return DamagedRead("摘要块被截断：只剩 " + Count(bytes.size()) + " 字节，连块头都不完整");
  uint32_t version = GetUInt(bytes, 8, 2);
  uint32_t flags = GetUInt(bytes, 10, 2);
  uint32_t count = GetUInt(bytes, 12, 4);
  if (version != kDigestVersion)
    return DamagedRead("摘要块的版本 " + Count(version) + " 无法识别（只认得版本 " + Count(kDigestVersion) + "）");
  if ((flags & ~uint32_t{kDigestFlagSigned}) != 0) return DamagedRead("摘要块的标志 " + Count(flags) + " 无效");
  if (count != entryCount)
    return DamagedRead("摘要块记有 " + Count(count) + " 个条目，目录却有 " + Count(entryCount) + " 个");
  bool isSigned = (flags & kDigestFlagSigned) != 0;
  uint64_t expected = DigestBlockSize(count, isSigned);
  if (bytes.size() < expected)
    return DamagedRead("摘要块被截断：应有 " + Count(expected) + " 字节，只有 " + Count(bytes.size()) + " 字节");
  if (bytes.size() > expected)
    return DamagedRead("摘要块之后多出 " + Count(bytes.size() - expected) + " 字节");

  DigestBlockRead read;
  read.state = DigestBlockState::Present;
  DigestBlock& block = read.block;
  size_t at = kPreambleSize;
  block.entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i, at += kDigestSize) block.entries.push_back(GetDigest(bytes, at));
  block.indexDigest = GetDigest(bytes, at);
  block.blockDigest = GetDigest(bytes, at + kDigestSize);
  at += 2 * kDigestSize;
  block.isSigned = isSigned;
  if (isSigned) {
    block.publicKey = bytes.substr(at, tk::kP256PublicKeySize);
    block.signature = bytes.substr(at + tk::kP256PublicKeySize, tk::kP256SignatureSize);
  }
  return read;
}

}  // namespace pak
