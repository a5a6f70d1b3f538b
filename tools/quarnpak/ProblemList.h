// Problems found in a whole tree or archive, of which the first 20 are kept to show: enough to
// act on without flooding the terminal when everything is wrong.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qp {

class ProblemList {
 public:
  void Add(const std::string& problem) {
    if (shown_.size() < kShown) shown_.push_back(problem);
    ++count_;
  }
  size_t Count() const { return count_; }

  // The problems kept, then "... and N more" when some were left out.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines = shown_;
    if (count_ > shown_.size()) lines.push_back("... and " + std::to_string(count_ - shown_.size()) + " more");
    return lines;
  }

 private:
  static constexpr size_t kShown = 20;
  std::vector<std::string> shown_;
  size_t count_ = 0;
};

}  // namespace qp
