#include "toolkit/win/Resources.h"

#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {

std::string_view ResourceBytes(const wchar_t* resourceName) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes ? std::string_view(bytes, SizeofResource(module, resource)) : std::string_view();
}

std::string LoadTextResource(const wchar_t* resourceName) {
  std::string_view bytes = ResourceBytes(resourceName);
  if (bytes.data() == nullptr) throw EInvalidOperation(Format("找不到文本资源 %s", FromWide(resourceName).c_str()));
  std::string utf8(bytes);
  if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) utf8.erase(0, 3);
  return FromWide(Utf8ToWide(utf8));
}

}  // namespace tk
