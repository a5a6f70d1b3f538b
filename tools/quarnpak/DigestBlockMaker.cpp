#include "tools/quarnpak/DigestBlockMaker.h"

#include "pak/PakDigestBlock.h"

namespace qp {

std::string MakeDigestBlock(std::vector<tk::Sha256Digest> entryDigests, const std::string& headerAndDirectory,
                            const SigningKey* key) {
  pak::DigestBlock block;
  block.entries = std::move(entryDigests);
  block.isSigned = key != nullptr;
  if (key) block.publicKey = key->PublicKey();
  pak::SealDigestBlock(&block, headerAndDirectory);
  if (key) {
    std::string encoded = pak::EncodeDigestBlock(block);
    block.signature = key->Sign(encoded.substr(0, pak::DigestSignedSize(static_cast<uint32_t>(block.entries.size()))));
  }
  return pak::EncodeDigestBlock(block);
}

}  // namespace qp
