#include "pak/Pak.h"

#include <algorithm>

#include "pak/PakBounds.h"

namespace pak {
namespace {

// A read the file should have satisfied in full (its size was checked) fell short: the medium
// failed, or the file changed under us.
void CheckReadUpTo(tk::TStream& stream, int64_t end, const std::string& fileName) {
  if (stream.Position() != end) throw tk::EReadError("读取安装包 \"" + fileName + "\" 出错");
}

}  // namespace

TkexPak::TkexPak(tk::Component* owner, const std::string& fileName, OpenFor purpose)
    : Component(owner), FileName(fileName), Purpose(purpose) {
  if (purpose == OpenFor::Reading) {
    LoadForReading({fileName});
    return;
  }
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

TkexPak::TkexPak(tk::Component* owner, const PackageLocation& location)
    : Component(owner), FileName(location.path), Purpose(OpenFor::Reading) {
  LoadForReading(location);
}

void TkexPak::LoadForReading(const PackageLocation& location) {
  try {
    Stream = OpenPackageForReading(location);
  } catch (const tk::EFOpenError& error) {
    if (!tk::IsFileNotFoundError(error.ErrorCode())) throw;
    throw EPackageMissing("找不到安装包 \"" + FileName + "\"", error.ErrorCode());
  }
  Header = std::make_unique<TkexPakHeader>();
  Directory = std::make_unique<TkexPakDirectory>();
  int64_t fileSize = Stream->Size();
  if (fileSize < 0) throw tk::EReadError("读取安装包 \"" + FileName + "\" 出错");
  CheckHeaderFits(FileName, fileSize);
  Stream->SetPosition(0);
  Header->LoadFromStream(*Stream);
  CheckReadUpTo(*Stream, kHeaderSize, FileName);
  CheckDirectoryFits(FileName, *Header, fileSize);
  if (Header->EntryCount == 0) return;
  Stream->SetPosition(Header->DirectoryOffset);
  Directory->LoadFromStream(*Stream, static_cast<uint16_t>(Header->EntryCount));
  CheckReadUpTo(*Stream, int64_t{Header->DirectoryOffset} + int64_t{Header->EntryCount} * kEntrySize, FileName);
  CheckEntryDataFits(FileName, *Directory, fileSize);
}

TkexPak::~TkexPak() {
  if (Stream && Purpose == OpenFor::Updating) Flush();
  Header.reset();
  Directory.reset();
  Stream.reset();
}

void TkexPak::ExtractEntry(int32_t index, const std::string& destination, tk::Sha256* digest) {
  const TkexPakDirectoryItem& item = Directory->Item(index);
  tk::TFileStream target(destination, tk::FileMode::Create);  // closed on every path
  Stream->SetPosition(item.DataOffset);
  if (item.DataSize != 0) target.CopyFrom(*Stream, item.DataSize, digest);
}

std::string TkexPak::ReadEntry(int32_t index) {
  const TkexPakDirectoryItem& item = Directory->Item(index);
  std::string data(item.DataSize, '\0');
  Stream->SetPosition(item.DataOffset);
  constexpr size_t kChunk = tk::TStream::kMaxCopyChunk;
  for (size_t done = 0; done < data.size();) {
    const int32_t count = static_cast<int32_t>(std::min(data.size() - done, kChunk));
    Stream->ReadBuffer(&data[done], count);
    done += static_cast<size_t>(count);
  }
  return data;
}

void TkexPak::Flush() {
  Stream->SetPosition(0);
  Header->SetEntryCount(static_cast<uint32_t>(Directory->Count()));
  Header->SaveToStream(*Stream);
  Stream->SetPosition(Header->DirectoryOffset);
  Directory->SaveToStream(*Stream);
}

}  // namespace pak
