// Checks an archive against its digest block (PakDigestBlock.h): the block's form, its digests
// of header and directory, its signature, and each entry's data. The archive's header and
// directory must have been read whole (the bounds checks passed) before any of this is asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pak/PakDigestBlock.h"
#include "pak/PakDirectory.h"
#include "pak/PakHeader.h"
#include "toolkit/core/Sha256.h"
#include "toolkit/core/Stream.h"

namespace pak {

struct DigestCheck {
  // Damaged also when the block's index or block digest differs from the file's header and
  // directory: one of the three was changed after the block was made.
  DigestBlockState state = DigestBlockState::Absent;
  std::string problem;  // GBK: when damaged, why; when absent, what lies after the directory
  DigestBlock block;
  std::string signedPart;  // the bytes the signature covers, when signed
};

// Where the block starts: right after the directory (right after the header when there are no
// entries, as the archive object places an empty directory).
uint64_t DigestBlockOffset(const TkexPakHeader& header);

// Reads and checks the block of the archive in stream, fileSize bytes long. EReadError when
// the file cannot be read.
DigestCheck ReadDigestCheck(tk::TStream& stream, const TkexPakHeader& header, int64_t fileSize);

enum class SignatureState { Unsigned, Valid, Invalid };
// Whether the block's signature is sound under the public key the block names; a named key
// that is no point of the curve makes it invalid. Who that key belongs to is the caller's
// question. ECryptoError only when the system cannot check signatures at all.
SignatureState CheckSignature(const DigestCheck& check);

// The SHA-256 of what unpacking reads of an entry: its data for kind 0, no bytes otherwise.
// EReadError when the data run past the end of the file.
tk::Sha256Digest EntryDigest(tk::TStream& stream, const TkexPakDirectoryItem& item);
// The indexes of the entries whose data differ from their digests, in directory order.
std::vector<int32_t> MismatchedEntries(tk::TStream& stream, const TkexPakDirectory& directory,
                                       const DigestBlock& block);

// GBK texts for people.
std::string EntryMismatchText(int32_t index, const TkexPakDirectoryItem& item);
// The first 16 hexadecimal digits of the SHA-256 of a public key: enough to tell keys apart.
std::string KeyFingerprint(const std::string& publicKey);

}  // namespace pak
