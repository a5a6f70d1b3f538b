#include "tests/e2e/driver/BrowserRecorder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/driver/Files.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

constexpr const wchar_t* kBrowserKey = L"Software\\Wine\\WineBrowser";
constexpr const wchar_t* kBrowsersValue = L"Browsers";

// Wine's own export: the Unix path of a Windows path (allocated on the process heap).
std::string UnixPathOf(const std::wstring& path) {
  using UnixFileName = char* (*)(const wchar_t*);
  auto convert = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unixPath = convert(path.c_str());
  if (!unixPath) return {};
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

bool ReadSetting(std::wstring* value) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kBrowserKey, kBrowsersValue, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  *value = buffer;
  return true;
}

void WriteSetting(const std::wstring& value) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(key, kBrowsersValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace

BrowserRecorder::BrowserRecorder(const std::wstring& file) : file_(file) {
  DeleteFileW(file.c_str());
  // Create it first: the Unix path of a missing file may not resolve.
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::string unixPath = UnixPathOf(file);
  if (unixPath.empty() || unixPath.find('\'') != std::string::npos) return;
  hadSetting_ = ReadSetting(&previous_);
  // winebrowser splits the entry like a command line and adds the address as the last argument
  // ($0 of the shell command). The list is comma-separated, so the command holds no comma.
  WriteSetting(tk::Utf8ToWide("/bin/sh -c \"echo \\\"$0\\\" >> '" + unixPath + "'\""));
  active_ = true;
}

BrowserRecorder::~BrowserRecorder() {
  if (active_) {
    if (hadSetting_) {
      WriteSetting(previous_);
    } else {
      HKEY key;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, kBrowsersValue);
        RegCloseKey(key);
      }
    }
  }
  DeleteFileW(file_.c_str());
}

std::string BrowserRecorder::Opened() const {
  std::string text;
  FILE* file = _wfopen(file_.c_str(), L"rb");
  if (!file) return text;
  char buffer[512];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
  fclose(file);
  return text;
}

}  // namespace e2e
