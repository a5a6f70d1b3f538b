// The digest block quarnpak appends to every archive it writes (pak/PakDigestBlock.h), signed
// when a key is given.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/Sha256.h"
#include "tools/quarnpak/SigningKey.h"

namespace qp {

// entryDigests: each entry's data digest, in directory order; headerAndDirectory: the bytes
// written for them. key may be null (an unsigned block).
std::string MakeDigestBlock(std::vector<tk::Sha256Digest> entryDigests, const std::string& headerAndDirectory,
                            const SigningKey* key);

}  // namespace qp
