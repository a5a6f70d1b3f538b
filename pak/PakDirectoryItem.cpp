#include "pak/PakDirectoryItem.h"

#include "pak/PakFields.h"

namespace pak {

void TkexPakDirectoryItem::LoadFromStream(tk::TStream& stream) {
  stream.Read(Name, kNameSize);
  ReadUInt16(stream, &Kind);
  ReadUInt32(stream, &DataOffset);
  ReadUInt32(stream, &DataSize);
}

void TkexPakDirectoryItem::SaveToStream(tk::TStream& stream) const {
  stream.Write(Name, kNameSize);
  WriteUInt16(stream, Kind);
  WriteUInt32(stream, DataOffset);
  WriteUInt32(stream, DataSize);
}

std::string TkexPakDirectoryItem::NameText() const { return FieldText(Name, kNameSize); }

}  // namespace pak
