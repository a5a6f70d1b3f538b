// The one kind of failure quarnpak reports to its user: a message in UTF-8; the program then
// exits with 1 and leaves no output of the failed work behind.
#pragma once

#include <stdexcept>

namespace qp {

class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qp
