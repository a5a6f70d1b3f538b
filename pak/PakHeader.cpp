#include "pak/PakHeader.h"

#include <cstring>

#include "pak/PakFields.h"

namespace pak {

TkexPakHeader::TkexPakHeader() : CreationTime(tk::Now()) {
  SetFieldText(Description, kDescriptionSize, kDefaultDescription);
  std::memset(Filler, kFillerByte, kFillerSize);
  SetFieldText(Version, kVersionSize, kDefaultVersion);
}

void TkexPakHeader::LoadFromStream(tk::TStream& stream) {
  ReadUInt16(stream, &HeaderWord0);
  ReadUInt16(stream, &HeaderWord1);
  ReadUInt32(stream, &DirectoryOffset);
  ReadUInt32(stream, &EntryCount);
  stream.Read(Description, kDescriptionSize);
  stream.Read(Filler, kFillerSize);
  stream.Read(Version, kVersionSize);
  ReadDouble(stream, &CreationTime);
}

void TkexPakHeader::SaveToStream(tk::TStream& stream) const {
  WriteUInt16(stream, HeaderWord0);
  WriteUInt16(stream, HeaderWord1);
  WriteUInt32(stream, DirectoryOffset);
  WriteUInt32(stream, EntryCount);
  stream.Write(Description, kDescriptionSize);
  stream.Write(Filler, kFillerSize);
  stream.Write(Version, kVersionSize);
  WriteDouble(stream, CreationTime);
}

std::string TkexPakHeader::VersionText() const { return FieldText(Version, kVersionSize); }
std::string TkexPakHeader::DescriptionText() const { return FieldText(Description, kDescriptionSize); }

}  // namespace pak
