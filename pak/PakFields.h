// Plain little-endian field reads and writes. A read that falls short changes only the bytes it
// got, so a field the file covers in part takes the bytes that are there.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/core/Stream.h"

namespace pak {

void ReadUInt16(tk::TStream& stream, uint16_t* value);
void ReadUInt32(tk::TStream& stream, uint32_t* value);
void ReadDouble(tk::TStream& stream, double* value);
void WriteUInt16(tk::TStream& stream, uint16_t value);
void WriteUInt32(tk::TStream& stream, uint32_t value);
void WriteDouble(tk::TStream& stream, double value);

// A fixed-width text field: its bytes up to the first zero byte, or all of them.
std::string FieldText(const char* field, int32_t size);
// Fills a field with text, zero-padded; the text is cut at the field's size.
void SetFieldText(char* field, int32_t size, const std::string& text);

}  // namespace pak
