#include "tools/standins/SitePaths.h"

#include <windows.h>

#include <vector>

namespace site {

const Product kProducts[3] = {
    {L"eforum", "forum", L"论坛"},
    {L"ecms", "cms", L"内容管理"},
    {L"eblog", "blog", L"博客"},
};

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes decoded; false on a broken escape or a NUL.
bool PercentDecode(const std::string& text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return false;
      int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (c == '\0') return false;
    out->push_back(c);
  }
  return true;
}

bool Utf8ToWideStrict(const std::string& utf8, std::wstring* wide) {
  wide->clear();
  if (utf8.empty()) return true;
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (size <= 0) return false;
  wide->resize(size);
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &(*wide)[0], size);
  return true;
}

// A component that reaches elsewhere or that Windows would read as another name.
bool IsRefusedComponent(const std::wstring& name) {
  if (name == L".." || name.back() == L'.' || name.back() == L' ') return true;
  for (wchar_t c : name)
    if (c < 0x20 || wcschr(L":*?\"<>|", c)) return true;
  return false;
}

bool IsHiddenComponent(const std::wstring& name) {
  return _wcsicmp(name.c_str(), L"WEB-INF") == 0 || _wcsicmp(name.c_str(), L"META-INF") == 0;
}

std::vector<std::wstring> Components(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(L"/\\", start);
    if (end == std::wstring::npos) end = path.size();
    std::wstring part = path.substr(start, end - start);
    if (!part.empty() && part != L".") parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

}  // namespace

Route RouteRequest(const std::string& target, const std::wstring& installFolder) {
  Route route;
  std::string raw = target.substr(0, target.find_first_of("?#"));
  std::string bytes;
  std::wstring path;
  if (raw.empty() || raw[0] != '/' || !PercentDecode(raw, &bytes) || !Utf8ToWideStrict(bytes, &path)) {
    route.kind = Route::kBadRequest;
    return route;
  }
  std::vector<std::wstring> parts = Components(path);
  for (const std::wstring& part : parts) {
    if (IsRefusedComponent(part)) {
      route.kind = Route::kBadRequest;
      return route;
    }
  }
  if (parts.empty()) {
    route.kind = Route::kIndex;
    return route;
  }
  const Product* product = nullptr;
  for (const Product& candidate : kProducts) {
    std::wstring prefix(candidate.prefix, candidate.prefix + strlen(candidate.prefix));
    if (parts[0] == prefix) product = &candidate;
  }
  if (!product) return route;  // not found
  for (size_t i = 1; i < parts.size(); ++i)
    if (IsHiddenComponent(parts[i])) return route;
  if (parts.size() == 1 && raw.back() != '/') {
    route.kind = Route::kRedirect;
    route.location = std::string("/") + product->prefix + "/";
    return route;
  }
  route.kind = Route::kFile;
  route.path = installFolder + product->folder;
  for (size_t i = 1; i < parts.size(); ++i) route.path += L"\\" + parts[i];
  return route;
}

const char* ContentType(const std::wstring& path) {
  static const struct {
    const wchar_t* extension;
    const char* type;
  } kTypes[] = {
      {L".html", "text/html"},  {L".htm", "text/html"},  {L".css", "text/css"},        {L".js", "text/javascript"},
      {L".txt", "text/plain"},  {L".xml", "text/xml"},   {L".png", "image/png"},       {L".jpg", "image/jpeg"},
      {L".jpeg", "image/jpeg"}, {L".gif", "image/gif"},  {L".ico", "image/x-icon"},
  };
  size_t dot = path.find_last_of(L".\\");
  if (dot != std::wstring::npos && path[dot] == L'.') {
    for (const auto& entry : kTypes)
      if (_wcsicmp(path.c_str() + dot, entry.extension) == 0) return entry.type;
  }
  return "application/octet-stream";
}

}  // namespace site
