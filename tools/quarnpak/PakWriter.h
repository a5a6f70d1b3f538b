// Writes a planned archive: the 115-byte header, every file's bytes one after another, the
// directory, then the digest block (DigestBlockMaker.h), which ends the file.
#pragma once

#include <filesystem>

#include "tools/quarnpak/ArchivePlan.h"
#include "tools/quarnpak/SigningKey.h"

namespace qp {

// The archive is written to a temporary file beside out and renamed over out only when
// complete; on any failure the temporary file is removed and out is left as it was.
// ToolError when a source file cannot be read whole or changed meanwhile, or a write fails.
// key, when given, signs the digest block. Returns the archive's size in bytes.
uint64_t WriteArchive(const ArchivePlan& plan, const std::filesystem::path& out, const SigningKey* key = nullptr);

}  // namespace qp
