// What the installer makes of a package's digest block before it stages anything, decided from
// the block's check and the maker's public key built into the installer (none in a development
// build). With a key, only a package signed by that key is taken; without one, any sound block
// is taken and a package without a block too, with a note for the log.
#pragma once

#include <string>

#include "pak/PakDigestCheck.h"

namespace pak {

struct PackageTrust {
  bool accepted = false;
  // Whether each entry's data must be checked against its digest while it is staged.
  bool checkEntries = false;
  // GBK. Refused: why, for the user. Taken: a line for the log.
  std::string message;
};

// makerKey: the 65-byte public point, or empty. ECryptoError only when the system cannot
// check signatures at all.
PackageTrust JudgePackage(const DigestCheck& check, const std::string& makerKey);

}  // namespace pak
