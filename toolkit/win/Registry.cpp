#include "toolkit/win/Registry.h"

#include <cstring>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {
namespace {

[[noreturn]] void FailGet(const std::string& name) {
  throw ERegistryException(Format("无法读取注册表值 '%s'", name.c_str()));
}

[[noreturn]] void FailType(const std::string& name) {
  throw ERegistryException(Format("注册表值 '%s' 的数据类型不对", name.c_str()));
}

// Both builds use the registry's 32-bit view, so the 64-bit build finds what the 32-bit one
// wrote (Software\WOW6432Node\... on 64-bit Windows) and the other way round. The flag changes
// nothing for a 32-bit program, nor for keys Windows does not redirect: the system environment
// and the service keys under SYSTEM are the same key in both views.
constexpr REGSAM kView = KEY_WOW64_32KEY;

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

HKEY TRegistry::BaseFor(const std::string& key, std::wstring* path) const {
  bool fromRoot = !key.empty() && key[0] == '\\';
  *path = ToWide(fromRoot ? key.substr(1) : key);
  return (fromRoot || !current_) ? root_ : current_;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  std::wstring path;
  HKEY base = BaseFor(key, &path);
  HKEY opened = nullptr;
  LONG status = canCreate ? RegCreateKeyExW(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS | kView, nullptr, &opened, nullptr)
                          : RegOpenKeyExW(base, path.c_str(), 0, KEY_ALL_ACCESS | kView, &opened);
  if (status != ERROR_SUCCESS) return false;
  CloseKey();
  current_ = opened;
  return true;
}

void TRegistry::CloseKey() {
  if (current_) RegCloseKey(current_);
  current_ = nullptr;
}

bool TRegistry::KeyExists(const std::string& key) const {
  std::wstring path;
  HKEY base = BaseFor(key, &path);
  HKEY opened = nullptr;
  if (RegOpenKeyExW(base, path.c_str(), 0, KEY_READ | kView, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  std::wstring path;
  HKEY base = BaseFor(key, &path);
  // An empty path would empty the base key itself; deleting a key needs a name.
  if (path.empty()) return false;
  // RegDeleteTreeW takes no view: empty the key opened in ours, then delete it in ours.
  HKEY opened = nullptr;
  if (RegOpenKeyExW(base, path.c_str(), 0, KEY_ALL_ACCESS | kView, &opened) != ERROR_SUCCESS) return false;
  LONG emptied = RegDeleteTreeW(opened, nullptr);
  RegCloseKey(opened);
  return emptied == ERROR_SUCCESS && RegDeleteKeyExW(base, path.c_str(), kView, 0) == ERROR_SUCCESS;
}

HKEY TRegistry::Current() const {
  if (!current_) throw ERegistryException("没有打开的注册表键");
  return current_;
}

LONG TRegistry::QueryStatus(HKEY key, const std::wstring& name, DWORD* type, std::vector<uint8_t>* data) {
  data->clear();
  for (;;) {
    DWORD size = static_cast<DWORD>(data->size());
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, type, data->empty() ? nullptr : data->data(), &size);
    if (status == ERROR_SUCCESS && (!data->empty() || size == 0)) {
      data->resize(size);
      return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return status;
    data->resize(size ? size : 1);  // a value may grow between the two calls: ask again
  }
}

bool TRegistry::Query(const std::string& name, DWORD* type, std::vector<uint8_t>* data) const {
  const LONG status = QueryStatus(Current(), ToWide(name), type, data);
  if (status == ERROR_FILE_NOT_FOUND) return false;
  if (status != ERROR_SUCCESS) FailGet(name);
  return true;
}

RegistryValue TRegistry::TryReadValue(const std::string& name) const {
  RegistryValue value;
  if (!current_) {
    value.error = ERROR_INVALID_HANDLE;
    return value;
  }
  const LONG status = QueryStatus(current_, ToWide(name), &value.type, &value.data);
  value.exists = status == ERROR_SUCCESS;
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) value.error = status;
  if (!value.exists) value.type = REG_NONE, value.data.clear();
  return value;
}

std::string TRegistry::TextOfData(const std::vector<uint8_t>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
  const size_t end = text.find(L'\0');  // the stored terminator, if any
  if (end != std::wstring::npos) text.resize(end);
  return FromWide(text);
}

bool TRegistry::ValueExists(const std::string& name) const {
  return RegQueryValueExW(Current(), ToWide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  HKEY key = Current();
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    throw ERegistryException("无法列出注册表值");
  std::vector<std::string> names;
  std::vector<wchar_t> buffer(longest + 1);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (RegEnumValueW(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(FromWide(std::wstring(buffer.data(), length)));
  }
  return names;
}

bool TRegistry::DeleteValue(const std::string& name) {
  return RegDeleteValueW(Current(), ToWide(name).c_str()) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!Query(name, &type, &data)) FailGet(name);
  if (type != REG_SZ && type != REG_EXPAND_SZ) FailType(name);
  return TextOfData(data);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  std::wstring text = ToWide(value);
  Write(name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

int32_t TRegistry::ReadInteger(const std::string& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!Query(name, &type, &data)) FailGet(name);
  if (type != REG_DWORD || data.size() != sizeof(int32_t)) FailType(name);
  int32_t value;
  memcpy(&value, data.data(), sizeof value);
  return value;
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  Write(name, REG_DWORD, &value, sizeof value);
}

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::string& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!Query(name, &type, &data)) FailGet(name);
  if (type != REG_BINARY) FailType(name);
  return data;
}

void TRegistry::WriteBinaryData(const std::string& name, const void* data, size_t size) {
  Write(name, REG_BINARY, data, size);
}

void TRegistry::Write(const std::string& name, DWORD type, const void* data, size_t size) {
  LONG status = RegSetValueExW(Current(), ToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(size));
  if (status != ERROR_SUCCESS)
    throw ERegistryException(Format("无法写入注册表值 '%s'。%s", name.c_str(), SysErrorMessage(status).c_str()));
}

}  // namespace tk
