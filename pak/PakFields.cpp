#include "pak/PakFields.h"

#include <algorithm>
#include <cstring>

namespace pak {

// Both targets (i686 Windows, x86-64 Linux) are little-endian, so a field's memory image is its
// disk form and a partial read naturally leaves the remaining bytes as they were.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the archive format is little-endian");

void ReadUInt16(tk::TStream& stream, uint16_t* value) { stream.Read(value, sizeof *value); }
void ReadUInt32(tk::TStream& stream, uint32_t* value) { stream.Read(value, sizeof *value); }
void ReadDouble(tk::TStream& stream, double* value) { stream.Read(value, sizeof *value); }
void WriteUInt16(tk::TStream& stream, uint16_t value) { stream.Write(&value, sizeof value); }
void WriteUInt32(tk::TStream& stream, uint32_t value) { stream.Write(&value, sizeof value); }
void WriteDouble(tk::TStream& stream, double value) { stream.Write(&value, sizeof value); }

std::string FieldText(const char* field, int32_t size) {
  const void* zero = std::memchr(field, 0, static_cast<size_t>(size));
  size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - field) : static_cast<size_t>(size);
  return std::string(field, length);
}

void SetFieldText(char* field, int32_t size, const std::string& text) {
  std::memset(field, 0, static_cast<size_t>(size));
  std::memcpy(field, text.data(), std::min(text.size(), static_cast<size_t>(size)));
}

}  // namespace pak
