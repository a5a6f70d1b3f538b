// https://learn.microsoft.com/windows/win32/dlls/dynamic-link-library-security
// https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-setdefaultdlldirectories
// https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
#include "toolkit/core/SystemLibrary.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {
namespace {

// The system folder (System32, or SysWOW64 for a 32-bit program on 64-bit Windows, where the
// system redirects the name), ending in '\'.
std::wstring SystemFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  UINT length = GetSystemDirectoryW(&folder[0], static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    folder.resize(length);
    length = GetSystemDirectoryW(&folder[0], static_cast<UINT>(folder.size()));
  }
  if (length == 0 || length >= folder.size()) {
    const uint32_t error = GetLastError();
    throw EInOutError("无法得知系统目录：" + SysErrorMessage(error), error);
  }
  folder.resize(length);
  if (folder.back() != L'\\') folder.push_back(L'\\');
  return folder;
}

[[noreturn]] void CannotLoad(const std::wstring& library) {
  const uint32_t error = GetLastError();
  throw EInOutError("无法载入系统库 " + FromWide(library) + "：" + SysErrorMessage(error), error);
}

}  // namespace

void RestrictDllSearchToSystem() {
  // Looked up, not imported: Windows 7 has the function only with its 2011 loader update, and
  // an import it lacks would stop the program before it starts.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                                 reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                           : nullptr;
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryW(L"");
}

SystemLibrary::SystemLibrary(const wchar_t* fileName, LibrarySource source) : fileName_(fileName) {
  if (source == LibrarySource::SideBySideOrSystemFolder) {
    module_ = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module_) return;
    // A Windows without the search flags refuses them; the system folder's own version, by
    // full path, is safe there too. Any other error is the answer.
    if (GetLastError() != ERROR_INVALID_PARAMETER) CannotLoad(fileName_);
  }
  // By full path: the program's folder is never searched. The altered search path takes what
  // the DLL itself imports from its own folder, the system's, too.
  const std::wstring path = SystemFolder() + fileName_;
  module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module_) CannotLoad(path);
}

void* SystemLibrary::Address(const char* name) const {
  void* address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), name));
  if (!address) {
    const uint32_t error = GetLastError();
    throw EInOutError("系统库 " + FromWide(fileName_) + " 中没有函数 " + name + "：" + SysErrorMessage(error), error);
  }
  return address;
}

}  // namespace tk
