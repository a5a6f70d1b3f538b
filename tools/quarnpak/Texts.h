// Texts for people. quarnpak speaks UTF-8; archive texts are GBK. Whatever an archive holds is
// shown readably and harmlessly: bytes that are no GBK text, and control characters, as \xNN.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace qp {

// A GBK text of an archive, as UTF-8 for display.
std::string ShowGbk(const std::string& gbk);
// A path, as UTF-8 for display.
std::string ShowPath(const std::filesystem::path& path);
// A UTF-8 text with control characters escaped, in double quotes.
std::string Quoted(const std::string& utf8);
// "entry 3 \"../x\"": an archive entry named for the user by its index and GBK name.
std::string EntryLabel(int32_t index, const std::string& gbkName);
// The system's text for an errno value.
std::string SystemReason(int errorNumber);

}  // namespace qp
