// DLLs of the system, for Windows code only. A DLL that is no KnownDLL is found in the
// program's own folder first when it is imported or loaded by bare name: a file of that name
// left beside setup.exe (in a Downloads folder) would run elevated. So the programs import
// statically only KnownDLLs, and take every other DLL from here.
#pragma once

#include <string>

namespace tk {

// Limits the process's DLL search to the system folder, for every later load by name, ours
// and the system DLLs' alike. The first statement of each program's entry point. On a Windows
// without SetDefaultDllDirectories it at least takes the current folder out of the search.
void RestrictDllSearchToSystem();

// Where a SystemLibrary comes from.
enum class LibrarySource {
  // The system folder, by full path.
  SystemFolder,
  // By bare name with the search limited to the system folder, so that the side-by-side
  // version the program's manifest binds (comctl32.dll version 6) is taken where there is one.
  SideBySideOrSystemFolder,
};

// A DLL of the system, never one from the program's folder. It stays loaded for the rest of
// the process, so a function taken from it can be kept.
class SystemLibrary {
 public:
  // fileName is a bare name ("bcrypt.dll"). EInOutError naming the DLL and the system's
  // reason when it cannot be loaded.
  explicit SystemLibrary(const wchar_t* fileName, LibrarySource source = LibrarySource::SystemFolder);
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The exported function of that name, as the given pointer type (decltype(&BCryptHashData)).
  // EInOutError naming the DLL and the function when the DLL has none.
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(Address(name));
  }
  // Get, typed as the slot it fills: a table of functions is filled one line per function.
  template <typename Function>
  void Bind(Function& slot, const char* name) const {
    slot = Get<Function>(name);
  }

 private:
  void* Address(const char* name) const;

  std::wstring fileName_;
  void* module_ = nullptr;
};

}  // namespace tk
