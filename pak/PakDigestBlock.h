// The digest block that quarnpak writes after the directory: the SHA-256 of every entry's data,
// of the header and directory, and of all that together, optionally signed. A reader that
// knows nothing of it reads the archive as before, since nothing it reads lies after the
// directory; this reader takes an archive without a block as one made before digests.
//
// Layout, N being the header's entry count; integers little-endian:
//   offset    size
//   0         8    magic "QPDIGEST"
//   8         2    version, 1
//   10        2    flags: bit 0 set when signed; every other bit zero
//   12        4    N
//   16        32N  SHA-256 of each entry's data, in directory order; of no bytes for an entry
//                  that unpacking does not read (kind other than 0)
//   16+32N    32   index digest: SHA-256 of the header's 115 bytes and the directory's 266N
//   48+32N    32   block digest: SHA-256 of header, directory and the block's bytes 0 .. 48+32N
//   80+32N         end of an unsigned block
//   80+32N    65   signer's public key: the uncompressed P-256 point (0x04, X, Y)
//   145+32N   64   ECDSA P-256 signature (r, s) over the block's bytes 0 .. 145+32N, with SHA-256
//   209+32N        end of a signed block
// The block starts right after the directory and ends the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/Sha256.h"

namespace pak {

constexpr char kDigestMagic[] = "QPDIGEST";
constexpr size_t kDigestMagicSize = 8;
constexpr uint16_t kDigestVersion = 1;
constexpr uint16_t kDigestFlagSigned = 1;

struct DigestBlock {
  std::vector<tk::Sha256Digest> entries;
  tk::Sha256Digest indexDigest{};
  tk::Sha256Digest blockDigest{};
  bool isSigned = false;
  std::string publicKey;  // 65 bytes when signed
  std::string signature;  // 64 bytes when signed
};

// Bytes of a whole block.
uint64_t DigestBlockSize(uint32_t entryCount, bool isSigned);
// Bytes the block digest covers, after header and directory: magic to the index digest.
uint64_t DigestTableSize(uint32_t entryCount);
// Bytes the signature covers: magic to the public key.
uint64_t DigestSignedSize(uint32_t entryCount);

std::string EncodeDigestBlock(const DigestBlock& block);

// Sets the index and block digests of a block whose entries, isSigned and publicKey are set;
// headerAndDirectory are the archive's header and directory bytes.
void SealDigestBlock(DigestBlock* block, const std::string& headerAndDirectory);

enum class DigestBlockState {
  // No block: nothing after the directory, or bytes that do not start as a block does (which
  // the format lets any maker put there, and readers ignore).
  Absent,
  Damaged,  // the start of a block, but no sound one
  Present,
};

struct DigestBlockRead {
  DigestBlockState state = DigestBlockState::Absent;
  // GBK: why the block is damaged; for Absent, what lies after the directory, if anything.
  std::string problem;
  DigestBlock block;
};

// Whether bytes, the first of those after the directory, start as a block does (all of them
// are the magic's first bytes when there are fewer than the magic's).
bool StartsAsDigestBlock(const std::string& bytes);

// Parses bytes, all that follows the directory, as the block of an archive of entryCount
// entries. Checks the block's form only (magic, version, flags, count, length), not its digests.
DigestBlockRead ParseDigestBlock(const std::string& bytes, uint32_t entryCount);

}  // namespace pak
