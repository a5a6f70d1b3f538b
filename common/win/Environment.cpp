// https://learn.microsoft.com/windows/win32/procthread/environment-variables
#include <windows.h>

#include "common/win/Environment.h"
#include "common/portable/GbkCase.h"
#include "common/portable/PathText.h"
#include "resources/strings.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Registry.h"

namespace pub {
namespace {

// A text of the program's string table, in GBK.
std::string ResourceText(UINT id) {
  const wchar_t* text = nullptr;
  // With a length of 0, LoadStringW hands out a pointer into the resource itself.
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 ? tk::FromWide(std::wstring(text, static_cast<size_t>(length))) : std::string();
}

bool OpenEnvironmentKey(tk::TRegistry& registry, bool perUser, bool canCreate = true) {
  if (!perUser) registry.SetRootKey(HKEY_LOCAL_MACHINE);
  std::string key = ResourceText(perUser ? IDS_USER_ENVIRONMENT_KEY : IDS_SYSTEM_ENVIRONMENT_KEY);
  // Without its key the routine would write into the root itself.
  return !key.empty() && registry.OpenKey(key, canCreate);
}

// Tells every top-level window that the environment changed. A hung window is skipped after
// a bounded wait instead of blocking the program for good.
void BroadcastEnvironmentChange() {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                      SMTO_ABORTIFHUNG, 5000, &answer);
}

}  // namespace

bool SetEnvVariable(const std::string& name, const std::string& value, bool force, bool perUser) {
  tk::TRegistry registry;
  if (!OpenEnvironmentKey(registry, perUser)) return false;
  if (!force && registry.ValueExists(name)) return false;
  registry.WriteString(name, value);
  SetEnvironmentVariableW(tk::ToWide(name).c_str(), tk::ToWide(value).c_str());
  BroadcastEnvironmentChange();
  return true;
}

bool ReadEnvVariable(const std::string& name, bool perUser, std::string* value) {
  tk::TRegistry registry;
  if (!OpenEnvironmentKey(registry, perUser, false) || !registry.ValueExists(name)) return false;
  try {
    *value = registry.ReadString(name);
    return true;
  } catch (const tk::Exception&) {
    return false;  // not text: nobody's folder
  }
}

bool SystemVariableHolds(const std::string& name, const std::string& folder) {
  std::string value;
  return ReadEnvVariable(name, false, &value) &&
         GbkUpperCase(WithoutTrailingBackslash(value)) == GbkUpperCase(WithoutTrailingBackslash(folder));
}

bool RemoveEnvVariable(const std::string& name, bool perUser) {
  tk::TRegistry registry;
  if (!OpenEnvironmentKey(registry, perUser)) return false;
  if (registry.ValueExists(name)) registry.DeleteValue(name);
  BroadcastEnvironmentChange();
  return true;
}

}  // namespace pub
