#include "pak/Pak.h"

namespace pak {

TkexPak::TkexPak(tk::Component* owner, const std::string& fileName) : Component(owner), FileName(fileName) {
  bool existed = tk::FileExists(fileName);
  Stream = std::make_unique<tk::TFileStream>(fileName, existed ? tk::FileMode::OpenReadWrite : tk::FileMode::Create);
  Header = std::make_unique<TkexPakHeader>();
  Directory = std::make_unique<TkexPakDirectory>();
  if (!existed) {
    Stream->SetPosition(0);
    Header->SaveToStream(*Stream);
    Header->SetDirectoryOffset(static_cast<uint32_t>(Stream->Position()));
    return;
  }
  Stream->SetPosition(0);
  Header->LoadFromStream(*Stream);
  if (Header->EntryCount != 0) {
    Stream->SetPosition(Header->DirectoryOffset);
    Directory->LoadFromStream(*Stream, static_cast<uint16_t>(Header->EntryCount & 0xFFFF));
  } else {
    // No directory stored: it goes right after the header from now on.
    Header->SetDirectoryOffset(static_cast<uint32_t>(Stream->Position()));
  }
}

TkexPak::~TkexPak() {
  if (Stream) Flush();
  Header.reset();
  Directory.reset();
  Stream.reset();
}

void TkexPak::ExtractEntry(int32_t index, const std::string& destination) {
  const TkexPakDirectoryItem& item = Directory->Item(index);
  tk::TFileStream target(destination, tk::FileMode::Create);  // closed on every path
  Stream->SetPosition(item.DataOffset);
  if (item.DataSize != 0) target.CopyFrom(*Stream, item.DataSize);
}

void TkexPak::Flush() {
  Stream->SetPosition(0);
  Header->SetEntryCount(static_cast<uint32_t>(Directory->Count()));
  Header->SaveToStream(*Stream);
  Stream->SetPosition(Header->DirectoryOffset);
  Directory->SaveToStream(*Stream);
}

}  // namespace pak
