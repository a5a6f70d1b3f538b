#include "setup/win/CurrentFolder.h"

#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"

namespace setup {

CurrentFolder::CurrentFolder() : remembered_(pub::walk::CurrentDirectory()) {}

void CurrentFolder::Change(const std::string& folder) { pub::walk::ChangeDirectory(tk::ToWide(folder)); }

void CurrentFolder::Restore() { pub::walk::ChangeDirectory(remembered_); }

void CurrentFolder::RestoreQuietly() noexcept { SetCurrentDirectoryW(remembered_.c_str()); }

}  // namespace setup
