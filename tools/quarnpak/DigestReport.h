// What info, verify and extract make of an archive's digest block: the block's check, the
// entries whose data differ from their digests, and the signature. Texts are the same GBK
// texts the installer shows (pak/PakTrust.h), shown in UTF-8.
#pragma once

#include <string>
#include <vector>

#include "pak/PakDigestCheck.h"
#include "pak/PakTrust.h"
#include "tools/quarnpak/ArchiveReader.h"

namespace qp {

struct DigestFindings {
  pak::DigestCheck check;
  std::vector<int32_t> mismatched;  // entries whose data differ, when the block is present
  pak::SignatureState signature = pak::SignatureState::Unsigned;
};

// archive: its directory loaded and every entry found inside the file.
DigestFindings FindDigests(ArchiveReader* archive);

// The "digest:" and "signature:" lines of info, then one line per entry that differs.
std::vector<std::string> DigestInfoLines(const DigestFindings& findings, const pak::TkexPakDirectory& directory);

// Judges the archive as an installer with makerKey built in (empty: a development build) would,
// and checks every entry's data against its digest. ToolError, after listing the entries that
// differ, when the installer would refuse it; otherwise the installer's note, in UTF-8.
std::string RequireSoundDigests(ArchiveReader* archive, const std::string& makerKey);

// A 65-byte public key from a file written by `quarnpak pubkey`; ToolError for anything else.
std::string ReadPublicKeyFile(const std::filesystem::path& path);

}  // namespace qp
