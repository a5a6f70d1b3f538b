#include "pak/PakDigestCheck.h"

#include <algorithm>

#include "pak/PakGlobals.h"
#include "toolkit/core/P256Signature.h"

namespace pak {
namespace {

std::string ReadBytes(tk::TStream& stream, uint64_t offset, uint64_t size) {
  std::string bytes(static_cast<size_t>(size), '\0');
  stream.SetPosition(static_cast<int64_t>(offset));
  for (size_t done = 0; done < bytes.size();) {
    int32_t count = static_cast<int32_t>(std::min<size_t>(bytes.size() - done, tk::TStream::kMaxCopyChunk));
    stream.ReadBuffer(&bytes[done], count);
    done += static_cast<size_t>(count);
  }
  return bytes;
}

DigestCheck DamagedCheck(std::string problem) {
  DigestCheck check;
  check.state = DigestBlockState::Damaged;
  check.problem = std::move(problem);
  return check;
}

}  // namespace

uint64_t DigestBlockOffset(const TkexPakHeader& header) {
  if (header.EntryCount == 0) return kHeaderSize;
  return uint64_t{header.DirectoryOffset} + uint64_t{header.EntryCount} * kEntrySize;
}

DigestCheck ReadDigestCheck(tk::TStream& stream, const TkexPakHeader& header, int64_t fileSize) {
  uint64_t start = DigestBlockOffset(header);
  uint64_t size = static_cast<uint64_t>(fileSize);
  if (start >= size) return DigestCheck{};
  uint64_t tail = size - start;
  uint64_t longest = DigestBlockSize(header.EntryCount, true);
  if (tail > longest) {
    // Too long for a block: only its start says whether it is a damaged block or none at all.
    if (StartsAsDigestBlock(ReadBytes(stream, start, std::min<uint64_t>(tail, kDigestMagicSize)))) {
      return DamagedCheck("目录之后有 " + std::to_string(tail) + " 字节，比摘要块最长的 " + std::to_string(longest) +
                          " 字节还长");
    }
    DigestCheck none;
    none.problem = "目录之后的 " + std::to_string(tail) + " 字节不是摘要块";
    return none;
  }

  DigestBlockRead read = ParseDigestBlock(ReadBytes(stream, start, size - start), header.EntryCount);
  DigestCheck check;
  check.state = read.state;
  check.problem = read.problem;
  check.block = std::move(read.block);
  if (check.state != DigestBlockState::Present) return check;

  std::string index = ReadBytes(stream, 0, kHeaderSize);
  if (header.EntryCount != 0)
    index += ReadBytes(stream, header.DirectoryOffset, uint64_t{header.EntryCount} * kEntrySize);
  DigestBlock sealed = check.block;
  SealDigestBlock(&sealed, index);
  if (sealed.indexDigest != check.block.indexDigest)
    return DamagedCheck("文件头或目录与摘要块不符，安装包在制作之后被改动过");
  if (sealed.blockDigest != check.block.blockDigest)
    return DamagedCheck("摘要表与它自己的摘要不符，摘要块在制作之后被改动过");
  if (check.block.isSigned)
    check.signedPart = EncodeDigestBlock(check.block).substr(0, DigestSignedSize(header.EntryCount));
  return check;
}

SignatureState CheckSignature(const DigestCheck& check) {
  if (check.state != DigestBlockState::Present || !check.block.isSigned) return SignatureState::Unsigned;
  const std::string& key = check.block.publicKey;
  if (!tk::IsP256PublicKey(key)) return SignatureState::Invalid;
  return tk::VerifyP256(key, check.signedPart, check.block.signature) ? SignatureState::Valid : SignatureState::Invalid;
}

tk::Sha256Digest EntryDigest(tk::TStream& stream, const TkexPakDirectoryItem& item) {
  tk::Sha256 hash;
  if (item.Kind != kKindFile || item.DataSize == 0) return hash.Finish();
  stream.SetPosition(item.DataOffset);
  std::string chunk(std::min<size_t>(item.DataSize, tk::TStream::kMaxCopyChunk), '\0');
  for (uint32_t left = item.DataSize; left > 0;) {
    int32_t count = static_cast<int32_t>(std::min<uint32_t>(left, tk::TStream::kMaxCopyChunk));
    stream.ReadBuffer(&chunk[0], count);
    hash.Update(chunk.data(), static_cast<size_t>(count));
    left -= static_cast<uint32_t>(count);
  }
  return hash.Finish();
}

std::vector<int32_t> MismatchedEntries(tk::TStream& stream, const TkexPakDirectory& directory,
                                       const DigestBlock& block) {
  std::vector<int32_t> mismatched;
  for (int32_t i = 0; i < directory.Count(); ++i) {
    if (static_cast<size_t>(i) >= block.entries.size() || EntryDigest(stream, directory.Item(i)) != block.entries[i])
      mismatched.push_back(i);
  }
  return mismatched;
}

std::string EntryMismatchText(int32_t index, const TkexPakDirectoryItem& item) {
  return "第 " + std::to_string(index) + " 个条目 \"" + item.NameText() + "\" 的数据与摘要不符";
}

std::string KeyFingerprint(const std::string& publicKey) {
  return tk::HexText(tk::Sha256Of(publicKey)).substr(0, 16);
}

}  // namespace pak
