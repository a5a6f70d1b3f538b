// https://learn.microsoft.com/windows/win32/debug/pe-format
#include "common/portable/EmbeddedPackage.h"

#include <algorithm>
#include <cstring>

namespace pub {
namespace {

constexpr int kMagicSize = 8;
constexpr int64_t kSignatureAlignment = 8;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kSecurityDirectory = 4;
constexpr int kSectionHeaderSize = 40;
// A header that claims more sections than this is no program we built.
constexpr uint16_t kMaxSections = 96;

// Little-endian bytes at offset; false when the stream ends before them.
bool ReadAt(tk::TStream& stream, int64_t offset, void* bytes, int32_t count) {
  if (offset < 0) return false;
  stream.SetPosition(offset);
  return stream.Read(bytes, count) == count;
}

uint64_t LittleEndian(const unsigned char* bytes, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

template <int N>
std::optional<uint64_t> FieldAt(tk::TStream& stream, int64_t offset) {
  unsigned char bytes[N];
  if (!ReadAt(stream, offset, bytes, N)) return std::nullopt;
  return LittleEndian(bytes, N);
}

void PutLittleEndian(uint64_t value, unsigned char* bytes) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Where the program's own bytes and what was appended to them end: before the certificate
// table, or at the file's end.
int64_t AppendedEnd(tk::TStream& program, const ProgramLayout& layout) {
  return layout.certificateTableStart >= 0 ? layout.certificateTableStart : program.Size();
}

}  // namespace

std::optional<ProgramLayout> ReadProgramLayout(tk::TStream& program) {
  char mz[2];
  if (!ReadAt(program, 0, mz, 2) || mz[0] != 'M' || mz[1] != 'Z') return std::nullopt;
  const std::optional<uint64_t> peOffset = FieldAt<4>(program, 0x3C);
  char pe[4];
  if (!peOffset || !ReadAt(program, static_cast<int64_t>(*peOffset), pe, 4) || std::memcmp(pe, "PE\0\0", 4) != 0)
    return std::nullopt;
  const int64_t coff = static_cast<int64_t>(*peOffset) + 4;
  const std::optional<uint64_t> sections = FieldAt<2>(program, coff + 2);
  const std::optional<uint64_t> optionalSize = FieldAt<2>(program, coff + 16);
  const int64_t optional = coff + 20;
  const std::optional<uint64_t> magic = FieldAt<2>(program, optional);
  if (!sections || !optionalSize || !magic || *sections > kMaxSections) return std::nullopt;
  if (*magic != kPe32Magic && *magic != kPe32PlusMagic) return std::nullopt;
  const bool wide = *magic == kPe32PlusMagic;
  const std::optional<uint64_t> directoryCount = FieldAt<4>(program, optional + (wide ? 108 : 92));
  if (!directoryCount) return std::nullopt;

  ProgramLayout layout;
  if (*directoryCount > kSecurityDirectory) {
    const int64_t security = optional + (wide ? 112 : 96) + kSecurityDirectory * 8;
    const std::optional<uint64_t> start = FieldAt<4>(program, security);
    const std::optional<uint64_t> size = FieldAt<4>(program, security + 4);
    if (!start || !size) return std::nullopt;
    // The security directory's address is a file offset, not a virtual address.
    if (*start != 0 && *size != 0) layout.certificateTableStart = static_cast<int64_t>(*start);
  }
  const int64_t table = optional + static_cast<int64_t>(*optionalSize);
  for (uint64_t i = 0; i < *sections; ++i) {
    const int64_t header = table + static_cast<int64_t>(i) * kSectionHeaderSize;
    const std::optional<uint64_t> rawSize = FieldAt<4>(program, header + 16);
    const std::optional<uint64_t> rawStart = FieldAt<4>(program, header + 20);
    if (!rawSize || !rawStart) return std::nullopt;
    if (*rawSize != 0) layout.imageEnd = std::max<int64_t>(layout.imageEnd, static_cast<int64_t>(*rawStart + *rawSize));
  }
  layout.imageEnd = std::max(layout.imageEnd, table + static_cast<int64_t>(*sections) * kSectionHeaderSize);
  return layout;
}

std::optional<EmbeddedPart> FindEmbeddedPackage(tk::TStream& program) {
  const std::optional<ProgramLayout> layout = ReadProgramLayout(program);
  if (!layout) return std::nullopt;
  int64_t end = AppendedEnd(program, *layout);
  // A signer that found the file unaligned padded it with zeros before its table.
  for (int i = 0; i < kSignatureAlignment - 1 && end > layout->imageEnd; ++i) {
    char last = 0;
    if (!ReadAt(program, end - 1, &last, 1) || last != 0) break;
    --end;
  }
  unsigned char trailer[kEmbeddedTrailerSize];
  if (end - kEmbeddedTrailerSize < layout->imageEnd ||
      !ReadAt(program, end - kEmbeddedTrailerSize, trailer, kEmbeddedTrailerSize) ||
      std::memcmp(trailer + 16, kEmbeddedPackageMagic, kMagicSize) != 0)
    return std::nullopt;
  const uint64_t offset = LittleEndian(trailer, 8);
  const uint64_t size = LittleEndian(trailer + 8, 8);
  const uint64_t trailerStart = static_cast<uint64_t>(end - kEmbeddedTrailerSize);
  if (offset < static_cast<uint64_t>(layout->imageEnd) || offset > trailerStart || trailerStart - offset != size)
    return std::nullopt;
  return EmbeddedPart{static_cast<int64_t>(offset), static_cast<int64_t>(size)};
}

std::string CarryingProblem(tk::TStream& program) {
  const std::optional<ProgramLayout> layout = ReadProgramLayout(program);
  if (!layout) return "it is no Windows program";
  if (layout->certificateTableStart >= 0) return "it is signed already; sign it once the package is inside";
  if (FindEmbeddedPackage(program)) return "it carries a package already";
  return std::string();
}

void WriteProgramWithPackage(tk::TStream& program, tk::TStream& package, tk::TStream& out) {
  const int64_t programSize = program.Size();
  const int64_t packageSize = package.Size();
  const int64_t padding =
      (kSignatureAlignment - (programSize + packageSize + kEmbeddedTrailerSize) % kSignatureAlignment) %
      kSignatureAlignment;
  program.SetPosition(0);
  out.CopyFrom(program, programSize);
  const char zeros[kSignatureAlignment] = {};
  out.WriteBuffer(zeros, static_cast<int32_t>(padding));
  package.SetPosition(0);
  out.CopyFrom(package, packageSize);
  unsigned char trailer[kEmbeddedTrailerSize];
  PutLittleEndian(static_cast<uint64_t>(programSize + padding), trailer);
  PutLittleEndian(static_cast<uint64_t>(packageSize), trailer + 8);
  std::memcpy(trailer + 16, kEmbeddedPackageMagic, kMagicSize);
  out.WriteBuffer(trailer, kEmbeddedTrailerSize);
}

}  // namespace pub
