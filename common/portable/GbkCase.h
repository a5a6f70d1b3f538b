// Upper-casing of GBK (code page 936) texts, done by us so that the result never depends on
// the system's code page. Folds ASCII letters and GBK's double-byte letters that have an
// upper-case form in GBK: full-width Latin, Greek, Cyrillic and the small Roman numerals.
// Every other byte, and every other double-byte character, stays as it is; the length of the
// text never changes, so positions found in the upper-cased copy hold in the original.
#pragma once

#include <string>

namespace pub {

std::string GbkUpperCase(const std::string& text);

}  // namespace pub
