// A registry accessor in the spirit of a small VCL: a root key, one open key at a time,
// typed values. Key and value names and string data are GBK texts, converted with code
// page 936 at the call. Keys are opened with full access, also for reading.
// https://learn.microsoft.com/windows/win32/sysinfo/registry-functions
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tk {

// A value as the registry holds it, read without raising.
struct RegistryValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  // Why a value that may exist could not be read (no key open is ERROR_INVALID_HANDLE);
  // ERROR_SUCCESS when it was read or is missing.
  LONG error = ERROR_SUCCESS;
};

class TRegistry {
 public:
  // The root starts as HKEY_CURRENT_USER.
  TRegistry();
  ~TRegistry();  // closes the open key
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return root_; }
  // Closes the open key first.
  void SetRootKey(HKEY root);

  // Opens key (full access), creating it when canCreate is set, and makes it the current key.
  // A path starting with '\' is taken from the root; any other path from the current key when
  // one is open, else from the root. False when the key cannot be opened or created.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey();
  HKEY CurrentKey() const { return current_; }
  bool KeyExists(const std::string& key) const;
  // Deletes key with all its sub-keys and values; false when that failed.
  bool DeleteKey(const std::string& key);

  // The values of the current key. Reading a missing value or one of another type, or writing
  // that fails, raises ERegistryException.
  bool ValueExists(const std::string& name) const;
  std::vector<std::string> GetValueNames() const;
  bool DeleteValue(const std::string& name);
  std::string ReadString(const std::string& name) const;   // REG_SZ or REG_EXPAND_SZ
  void WriteString(const std::string& name, const std::string& value);  // REG_SZ
  int32_t ReadInteger(const std::string& name) const;       // REG_DWORD
  void WriteInteger(const std::string& name, int32_t value);
  std::vector<uint8_t> ReadBinaryData(const std::string& name) const;  // REG_BINARY
  void WriteBinaryData(const std::string& name, const void* data, size_t size);

  // Any value of the current key, of any type, for callers that judge what they find; never
  // raises (a value that cannot be read reads as missing, with the system's error).
  RegistryValue TryReadValue(const std::string& name) const;
  // The text of REG_SZ or REG_EXPAND_SZ data, up to its terminator, as GBK.
  static std::string TextOfData(const std::vector<uint8_t>& data);

 private:
  // The key a relative or absolute path starts from, and the path without a leading '\'.
  HKEY BaseFor(const std::string& key, std::wstring* path) const;
  HKEY Current() const;  // the open key, or ERegistryException
  // Type and bytes of a value; false when it does not exist.
  bool Query(const std::string& name, DWORD* type, std::vector<uint8_t>* data) const;
  // The same without raising: the system's status, ERROR_FILE_NOT_FOUND for a missing value.
  static LONG QueryStatus(HKEY key, const std::wstring& name, DWORD* type, std::vector<uint8_t>* data);
  void Write(const std::string& name, DWORD type, const void* data, size_t size);

  HKEY root_ = HKEY_CURRENT_USER;
  HKEY current_ = nullptr;
};

}  // namespace tk
