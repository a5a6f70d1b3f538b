// The installation record in the registry (the 32-bit view, whichever build runs): the version
// key, the product key and the entry in the system's list of uninstallable programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/portable/RecordState.h"
#include "toolkit/core/DateTime.h"

namespace setup {

struct InstallationRecord {
  std::string version;
  tk::TDateTime packageDate = 0;
  std::string folder;
  int32_t fileCount = 0;
  uint64_t packageBytes = 0;
  bool hadSetJavaHome = false;
  std::vector<std::string> products;
};

// Writes every key and value; product names of an earlier, larger installation stay. A key
// that cannot be written raises tk::ERegistryException.
void WriteInstallationRecord(const InstallationRecord& record);

// One step of writing the record: a key opened (made when missing) under HKEY_LOCAL_MACHINE,
// or a value written into the key opened last.
struct RecordWrite {
  enum class Kind { Key, Text, Number, Bytes } kind;
  std::string name;  // the key's path, or the value's name
  std::string text;
  int32_t number = 0;
  std::vector<uint8_t> bytes;
};
// The record's writes in the order they are made: the order decides what a run stopped
// between two of them leaves behind.
std::vector<RecordWrite> InstallationRecordWrites(const InstallationRecord& record);
// Makes the first count of writes, as a run stopped after them would have.
void PerformRecordWrites(const std::vector<RecordWrite>& writes, size_t count);

// The record as it stands, judged (setup/portable/RecordState.h): absent, whole, or damaged
// with the reason, each value read safely, and the recorded products. The one place the record
// is read. Never raises, whatever the values hold.
pub::InstallationRecordReading ReadInstallationRecord();

}  // namespace setup
