// A package carried inside the program file that installs it: one file a person can download
// and double-click. The file is the program as built, then the package, then a trailer that
// says where the package lies:
//   program image | zero padding | package | offset (8 bytes) | size (8 bytes) | "QuarnPk1"
// (little-endian). A signature is added after all of it: Authenticode appends its certificate
// table at the end of the file (after zero padding to a multiple of 8) and records where it
// starts in the program's security directory, so the trailer is looked for just before that
// table, or at the file's end in an unsigned file. The padding before the package makes the
// whole a multiple of 8 bytes, so a signer adds none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/core/Stream.h"

namespace pub {

constexpr char kEmbeddedPackageMagic[] = "QuarnPk1";
constexpr int64_t kEmbeddedTrailerSize = 24;

// Where the parts of a Windows program file lie.
struct ProgramLayout {
  int64_t imageEnd = 0;                // the end of the last section's data: what follows is appended
  int64_t certificateTableStart = -1;  // where a signature's certificate table starts; -1 unsigned
};

// The layout of the program in the stream; nullopt when it is no Windows program (no "MZ"
// header leading to a "PE" one with a 32- or 64-bit optional header).
std::optional<ProgramLayout> ReadProgramLayout(tk::TStream& program);

struct EmbeddedPart {
  int64_t offset = 0;
  int64_t size = 0;
};

// The package the program file carries, from its trailer: present only when the trailer's magic
// is there, the package lies wholly after the program image and it ends right at the trailer.
std::optional<EmbeddedPart> FindEmbeddedPackage(tk::TStream& program);

// Why this program cannot take a package ("" when it can): it is no Windows program, it is
// signed already (a signature must come last and cover the package), or it carries one already.
std::string CarryingProblem(tk::TStream& program);

// Writes program, padding, package and trailer to out (at its current position, which should
// be 0). The program must have no CarryingProblem; raises EReadError / EWriteError on a short
// read or write.
void WriteProgramWithPackage(tk::TStream& program, tk::TStream& package, tk::TStream& out);

}  // namespace pub
