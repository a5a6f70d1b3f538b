// quarnpak's output: UTF-8 lines on stdout (results) and stderr (messages).
#pragma once

#include <string>

namespace qp {

void PrintLine(const std::string& utf8);
void PrintError(const std::string& utf8);

}  // namespace qp
