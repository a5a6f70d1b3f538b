// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-multibytetowidechar
#include <windows.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/GbkCodec.h"

namespace tk {
namespace {

std::wstring Widen(unsigned codePage, DWORD flags, const std::string& text, bool* ok) {
  *ok = true;
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    *ok = false;
    return std::wstring();
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Narrow(unsigned codePage, const std::wstring& wide, bool strict, bool* ok) {
  *ok = true;
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = (strict && codePage != CP_UTF8) ? &usedDefault : nullptr;
  DWORD flags = (strict && codePage != CP_UTF8) ? WC_NO_BEST_FIT_CHARS : 0;
  if (strict && codePage == CP_UTF8) flags = WC_ERR_INVALID_CHARS;
  int length = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, usedDefaultPtr);
  if (length <= 0 || usedDefault) {
    *ok = false;
    return std::string();
  }
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr,
                      nullptr);
  return text;
}

}  // namespace

std::wstring ToWide(const std::string& gbk) {
  bool ok;
  return Widen(kGbkCodePage, 0, gbk, &ok);
}

std::string FromWide(const std::wstring& wide) {
  bool ok;
  return Narrow(kGbkCodePage, wide, false, &ok);
}

bool EncodeGbk(const std::u16string& text, std::string* gbk) {
  bool ok;
  std::string encoded = Narrow(kGbkCodePage, std::wstring(text.begin(), text.end()), true, &ok);
  if (ok) *gbk = std::move(encoded);
  return ok;
}

bool DecodeGbk(const std::string& gbk, std::u16string* text) {
  bool ok;
  std::wstring wide = Widen(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk, &ok);
  if (ok) text->assign(wide.begin(), wide.end());
  return ok;
}

bool FromWideChecked(const std::wstring& wide, std::string* gbk) {
  return Utf16ToGbk(std::u16string(wide.begin(), wide.end()), gbk);
}

std::wstring Utf8ToWide(const std::string& utf8) {
  bool ok;
  return Widen(CP_UTF8, 0, utf8, &ok);
}

std::string WideToUtf8(const std::wstring& wide) {
  bool ok;
  return Narrow(CP_UTF8, wide, false, &ok);
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
  bool ok;
  std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &ok);
  return ok && FromWideChecked(wide, gbk);
}

bool GbkToUtf8(const std::string& gbk, std::string* utf8) {
  bool ok;
  std::wstring wide = Widen(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk, &ok);
  if (!ok) return false;
  *utf8 = Narrow(CP_UTF8, wide, false, &ok);
  return ok;
}

}  // namespace tk
