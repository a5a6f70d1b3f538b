// The process current folder, changed for a command and changed back. A folder that cannot be
// made current raises tk::EInOutError naming it.
#pragma once

#include <string>

namespace setup {

class CurrentFolder {
 public:
  CurrentFolder();  // remembers the current folder
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

  void Change(const std::string& folder);
  void Restore();
  // Restore without an error, for the end of a run whatever way it ends.
  void RestoreQuietly() noexcept;

 private:
  std::wstring remembered_;
};

}  // namespace setup
