// https://learn.microsoft.com/windows/win32/winprog64/accessing-an-alternate-registry-view
#include "tests/e2e/driver/SystemRecord.h"

#include <windows.h>

#include "tests/e2e/driver/Services.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

constexpr const wchar_t* kQuarnKey = L"Software\\quarn";
constexpr const wchar_t* kVersionKey = L"Software\\quarn\\version";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quarn";
constexpr const wchar_t* kTomcatServiceKey = L"SYSTEM\\CurrentControlSet\\Services\\tomcatquarn";
constexpr const wchar_t* kEnvironmentKey = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

bool KeyExists(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void DeleteTree(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY, 0);
}

bool ReadString(const wchar_t* path, const wchar_t* name, std::wstring* value) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
  wchar_t buffer[4096] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
  LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  *value = buffer;
  return true;
}

// Tells the running programs that the system environment changed, as a system tool does.
void BroadcastEnvironment() {
  DWORD_PTR ignored;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

bool InstallRecordExists() { return KeyExists(kQuarnKey); }

bool UninstallEntryExists() { return KeyExists(kUninstallKey); }

std::string RecordedString(const wchar_t* valueName) {
  std::wstring value;
  return ReadString(kVersionKey, valueName, &value) ? tk::FromWide(value) : std::string();
}

void RemoveInstallRecord() {
  DeleteTree(kQuarnKey);
  DeleteTree(kUninstallKey);
  // The install run sets the Tomcat service's start type, which makes the key when the
  // service itself is missing.
  if (!QueryService(L"tomcatquarn").exists) RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTomcatServiceKey);
}

bool WriteRecordValue(const wchar_t* subkey, const wchar_t* name, unsigned long type, const std::string& bytes) {
  const std::wstring path = std::wstring(kQuarnKey) + L"\\" + subkey;
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG written = RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return written == ERROR_SUCCESS;
}

bool ReadSystemVariable(const wchar_t* name, std::wstring* value) {
  return ReadString(kEnvironmentKey, name, value);
}

SavedSystemVariable::SavedSystemVariable(const wchar_t* name) : name_(name) {
  wasSet_ = ReadSystemVariable(name, &value_);
}

void WriteSystemVariable(const wchar_t* name, const std::wstring* value) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  if (value)
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  else
    RegDeleteValueW(key, name);
  RegCloseKey(key);
  BroadcastEnvironment();
}

void SavedSystemVariable::Restore() const {
  std::wstring now;
  bool isSet = ReadSystemVariable(name_.c_str(), &now);
  if (isSet == wasSet_ && now == value_) return;
  WriteSystemVariable(name_.c_str(), wasSet_ ? &value_ : nullptr);
}

namespace {

constexpr const wchar_t* kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kRestartDeletes = L"PendingFileRenameOperations";

std::wstring RestartDeletes() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::wstring();
  DWORD type = 0, size = 0;
  std::wstring value;
  if (RegQueryValueExW(key, kRestartDeletes, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size) {
    value.resize(size / sizeof(wchar_t));
    RegQueryValueExW(key, kRestartDeletes, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size);
  }
  RegCloseKey(key);
  return value;
}

std::wstring LowerCaseWide(std::wstring text) {
  for (wchar_t& c : text) c = towlower(c);
  return text;
}

}  // namespace

SavedRestartDeletes::SavedRestartDeletes() : before_(RestartDeletes()) {}

SavedRestartDeletes::~SavedRestartDeletes() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  if (before_.empty())
    RegDeleteValueW(key, kRestartDeletes);
  else
    RegSetValueExW(key, kRestartDeletes, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(before_.data()),
                   static_cast<DWORD>(before_.size() * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool SavedRestartDeletes::Holds(const std::wstring& path) const {
  return LowerCaseWide(RestartDeletes()).find(LowerCaseWide(path)) != std::wstring::npos;
}

}  // namespace e2e
