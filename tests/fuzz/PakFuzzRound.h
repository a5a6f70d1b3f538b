// One round of the archive fuzzer, shared by the libFuzzer target and the native test that
// replays the kept regression cases (so that g++ and MinGW builds check them too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pakfuzz {

// Treats bytes as a Setup.pak, as the installer's staging would: writes them to scratch/Setup.pak,
// opens them with the archive object for reading, reads header and directory, and extracts every
// entry into scratch/out (named by index: the names are the staging's to judge). Returns "" when
// the archive object behaved, otherwise what it did wrong:
// - an archive that opened must extract each of its file entries, exactly its data;
// - the package file must keep every byte;
// - a digest block that reads as present must encode back to exactly its bytes, and checking,
//   judging and matching it against the entries must raise nothing.
// A damaged package raising EReadError (EPackageDamaged is one) is behaviour; any other
// exception escapes to the caller, as a fault.
std::string RunPackageRound(const uint8_t* data, size_t size, const std::filesystem::path& scratch);

}  // namespace pakfuzz
