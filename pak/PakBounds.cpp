#include "pak/PakBounds.h"

#include "pak/PakErrors.h"
#include "pak/PakGlobals.h"

namespace pak {
namespace {

[[noreturn]] void Damaged(const std::string& fileName, const std::string& why) {
  throw EPackageDamaged("安装包 \"" + fileName + "\" 已损坏：" + why);
}

std::string Number(uint64_t value) { return std::to_string(value); }

}  // namespace

void CheckHeaderFits(const std::string& fileName, int64_t fileSize) {
  if (fileSize < kHeaderSize)
    Damaged(fileName, "文件只有 " + Number(static_cast<uint64_t>(fileSize < 0 ? 0 : fileSize)) + " 字节，放不下 " +
                          Number(kHeaderSize) + " 字节的文件头");
}

void CheckDirectoryFits(const std::string& fileName, const TkexPakHeader& header, int64_t fileSize) {
  if (header.EntryCount > kMaxEntries)
    Damaged(fileName, "文件头记有 " + Number(header.EntryCount) + " 个条目，最多只能有 " + Number(kMaxEntries) + " 个");
  uint64_t end = uint64_t{header.DirectoryOffset} + uint64_t{header.EntryCount} * kEntrySize;
  if (header.EntryCount != 0 && end > static_cast<uint64_t>(fileSize))
    Damaged(fileName, "目录（" + Number(header.EntryCount) + " 个条目，位于 " + Number(header.DirectoryOffset) +
                          "）超出了文件末尾（" + Number(static_cast<uint64_t>(fileSize)) + " 字节）");
}

void CheckEntryDataFits(const std::string& fileName, const TkexPakDirectory& directory, int64_t fileSize) {
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const TkexPakDirectoryItem& item = directory.Item(i);
    if (item.Kind != kKindFile || item.DataSize == 0) continue;
    uint64_t end = uint64_t{item.DataOffset} + item.DataSize;
    if (end > static_cast<uint64_t>(fileSize))
      Damaged(fileName, "第 " + Number(static_cast<uint64_t>(i)) + " 个条目 \"" + item.NameText() + "\" 的数据（位于 " +
                            Number(item.DataOffset) + "，" + Number(item.DataSize) + " 字节）超出了文件末尾（" +
                            Number(static_cast<uint64_t>(fileSize)) + " 字节）");
  }
}

}  // namespace pak
