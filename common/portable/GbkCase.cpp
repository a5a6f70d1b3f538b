#include "common/portable/GbkCase.h"

#include "common/portable/GbkText.h"

namespace pub {
namespace {

// One run of lower-case letters in a GBK row and the distance to its upper-case run.
struct CaseRun {
  unsigned char lead, firstTrail, lastTrail;
  int shift;
};

constexpr CaseRun kRuns[] = {
    {0xA2, 0xA1, 0xAA, +0x50},  // small Roman numerals i..x -> I..X
    {0xA3, 0xE1, 0xFA, -0x20},  // full-width a..z -> A..Z
    {0xA6, 0xC1, 0xD8, -0x20},  // Greek alpha..omega
    {0xA7, 0xD1, 0xF1, -0x30},  // Cyrillic a..ya, yo included
};

unsigned char UpperTrail(unsigned char lead, unsigned char trail) {
  for (const CaseRun& run : kRuns)
    if (lead == run.lead && trail >= run.firstTrail && trail <= run.lastTrail)
      return static_cast<unsigned char>(trail + run.shift);
  return trail;
}

}  // namespace

std::string GbkUpperCase(const std::string& text) {
  std::string upper = text;
  for (size_t i = 0; i < upper.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(upper[i]);
    if (IsGbkLeadByte(c) && i + 1 < upper.size()) {
      ++i;
      upper[i] = static_cast<char>(UpperTrail(c, static_cast<unsigned char>(upper[i])));
    } else if (c >= 'a' && c <= 'z') {
      upper[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

}  // namespace pub
