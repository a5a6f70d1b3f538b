// The platform's own GBK converter, one twin per platform (Win32's code page 936, glibc's
// CP936). Either may map a character one way only, so names go through Utf16ToGbk, which
// checks the way back too.
#pragma once

#include <string>

namespace tk {

// False when a character has no GBK form.
bool EncodeGbk(const std::u16string& text, std::string* gbk);
// False when the bytes are not valid GBK.
bool DecodeGbk(const std::string& gbk, std::u16string* text);

}  // namespace tk
