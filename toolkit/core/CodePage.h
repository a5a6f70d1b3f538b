// Conversions between the program's GBK texts (code page 936) and the outside world.
// Code page 936 is always named explicitly: the program never depends on the system's ANSI code page.
#pragma once

#include <string>

namespace tk {

constexpr unsigned kGbkCodePage = 936;

// UTF-8 to GBK. False when the text is not valid UTF-8 or holds a character GBK cannot store.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk);
// GBK to UTF-8. False when the bytes are not valid GBK.
bool GbkToUtf8(const std::string& gbk, std::string* utf8);

// The one rule for a name the system gives in UTF-16 (a folder, a typed path): true, with its
// GBK form, only when GBK holds every character and converting back gives the same name.
// Otherwise false and *gbk is left alone: the name is not convertible, never turned to '?'.
bool Utf16ToGbk(const std::u16string& text, std::string* gbk);

#ifdef _WIN32
// For the W functions of Win32. Invalid bytes become U+FFFD / '?' rather than failing:
// use these where a text is shown or passed on, the checked forms above where it is stored.
std::wstring ToWide(const std::string& gbk);
std::string FromWide(const std::wstring& wide);
// Strict form: Utf16ToGbk for a wide text.
bool FromWideChecked(const std::wstring& wide, std::string* gbk);
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
#endif

}  // namespace tk
