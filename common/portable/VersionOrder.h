// Which of two versions is newer, and what an install does about a package older than the
// recorded installation: an older program over a newer database may not start, so a downgrade
// is never made unasked.
#pragma once

#include <optional>
#include <string>

namespace pub {

// Compares dotted versions part by part, each part by its number ("10" after "9"; a missing
// part is 0, so "2.0" is "2.0.0"), then by any text after the number ("1.0.0" before "1.0.0b").
// Negative, zero or positive; nullopt when either is not a version (empty, or a part that does
// not start with a digit): then nothing can be said.
std::optional<int> CompareVersions(const std::string& a, const std::string& b);

// The package is older than the recorded installation, as far as both versions can be read.
bool IsDowngrade(const std::string& packageVersion, const std::string& recordedVersion);

// An unattended repair with an older package: refused, unless the command line allows it.
// Either way the line says so, for the log (GBK).
struct DowngradeDecision {
  bool refused = false;
  std::string note;  // "" when the package is not older
};
DowngradeDecision JudgeUnattendedDowngrade(const std::string& packageVersion, const std::string& recordedVersion,
                                           bool allowed);

// The wizard's question before a repair with an older package (GBK).
std::string DowngradeQuestion(const std::string& packageVersion, const std::string& recordedVersion);

}  // namespace pub
