// One copy of setup at a time for a user: two copies would share, and delete, one staging
// folder. A named mutex of the user's marks the running copy.
#pragma once

#include <windows.h>

namespace app {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another copy for this user runs already.
  bool IsFirst() const { return first_; }
  // Brings the running copy's wizard window to the front.
  static void ActivateRunningCopy();

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

}  // namespace app
