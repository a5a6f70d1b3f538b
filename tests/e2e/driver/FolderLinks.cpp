// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-createsymboliclinkw
#include "tests/e2e/driver/FolderLinks.h"

#include <windows.h>

#include <functional>

namespace e2e {
namespace {

using UnixNameOf = char*(CDECL*)(const wchar_t*);

// Wine's own export: the Unix path of a Windows one (freed with HeapFree); null off Wine.
UnixNameOf WineUnixName() {
  return reinterpret_cast<UnixNameOf>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::wstring Widened(const char* text) {
  std::wstring wide;
  for (; *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

// Wine starts a Unix program given by its Z: path; the arguments are Unix paths. Its handle
// may be signalled before the program has done its work, so the caller waits for the result
// itself; a start refused for a moment is tried again.
void RunUnix(const wchar_t* program, const std::wstring& arguments) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::wstring line = std::wstring(program) + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      WaitForSingleObject(process.hProcess, 10000);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      return;
    }
    Sleep(200);
  }
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Up to 10 s for the file system to show what a Unix program did.
bool Eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

std::wstring UnixPath(UnixNameOf unixName, const std::wstring& path) {
  char* name = unixName(path.c_str());
  if (!name) return std::wstring();
  std::wstring wide = L"\"" + Widened(name) + L"\"";
  HeapFree(GetProcessHeap(), 0, name);
  return wide;
}

}  // namespace

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  if (UnixNameOf unixName = WineUnixName()) {
    // Wine 8 makes no links of its own; the Unix file system's are what it shows as such.
    const std::wstring from = UnixPath(unixName, target), to = UnixPath(unixName, link);
    RunUnix(L"Z:\\bin\\ln", L"-s " + from + L" " + to);
    return Eventually([&] { return IsLink(link); });
  }
  CreateSymbolicLinkW(link.c_str(), target.c_str(),
                      SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  return IsLink(link);
}

bool RemoveFolderLink(const std::wstring& link) {
  if (!IsLink(link)) return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
  if (UnixNameOf unixName = WineUnixName()) {
    RunUnix(L"Z:\\bin\\rm", L"-f " + UnixPath(unixName, link));
    return Eventually([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
  }
  RemoveDirectoryW(link.c_str());
  return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace e2e
