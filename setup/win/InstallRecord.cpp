// The installation record: written from a plain description, read back at start-up.
#include <windows.h>

#include "toolkit/core/Errors.h"
#include "toolkit/win/Registry.h"
#include "setup/win/InstallRecordKeys.h"
#include "setup/win/InstallationRecord.h"

namespace setup {

namespace {

// A record that cannot be written is a failed installation, not a silent one.
void OpenForWriting(tk::TRegistry& registry, const char* key) {
  if (!registry.OpenKey(key, true))
    throw tk::ERegistryException(std::string("无法写入注册表键 HKEY_LOCAL_MACHINE") + key);
}

// The local date as YYYYMMDD.
std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return tk::Format("%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
}

}  // namespace

std::vector<RecordWrite> InstallationRecordWrites(const InstallationRecord& record) {
  using K = RecordWrite::Kind;
  std::vector<RecordWrite> writes;
  auto key = [&](const char* path) { writes.push_back({K::Key, path, {}, 0, {}}); };
  auto text = [&](const char* name, const std::string& value) { writes.push_back({K::Text, name, value, 0, {}}); };
  auto number = [&](const char* name, int32_t value) { writes.push_back({K::Number, name, {}, value, {}}); };
  // The products first: without the version key they are no record at all, and once the
  // version key is there, a removal finds what to remove.
  key(kProductKey);
  for (const std::string& product : record.products) number(product.c_str(), 1);
  // The version key marks an installation; its folder comes before anything else in it, so
  // that a run stopped in between leaves a key naming its folder, or an empty key, which
  // start-up calls damaged.
  key(kVersionKey);
  text("installpath", record.folder);
  text("ver", record.version);
  const auto* date = reinterpret_cast<const uint8_t*>(&record.packageDate);
  writes.push_back({K::Bytes, "installdate", {}, 0, {date, date + sizeof record.packageDate}});
  number("installfilecount", record.fileCount);
  number("HadSetJAVA_HOME", record.hadSetJavaHome ? 1 : 0);
  // What Windows lists last: it points at an uninstaller that needs the record above.
  key(kUninstallKey);
  text("DisplayIcon", record.folder + kUninstallerPath);
  text("DisplayName", kDisplayName);
  text("DisplayVersion", record.version);
  text("Publisher", kPublisher);
  // Quoted, as Windows expects of a program path that may hold blanks.
  const std::string uninstaller = "\"" + record.folder + kUninstallerPath + "\"";
  text("UninstallString", uninstaller);
  text("URLInfoAbout", kMakerSite);
  // What deployment tools read besides: where it lives, how to remove it without questions,
  // its size, its date; repairing means running setup.exe again, not a button here.
  text("InstallLocation", record.folder);
  text("QuietUninstallString", uninstaller + " /S");
  number("EstimatedSize", static_cast<int32_t>((record.packageBytes + 1023) / 1024));
  text("InstallDate", Today());
  number("NoModify", 1);
  number("NoRepair", 1);
  return writes;
}

void PerformRecordWrites(const std::vector<RecordWrite>& writes, size_t count) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  for (size_t i = 0; i < count && i < writes.size(); ++i) {
    const RecordWrite& write = writes[i];
    switch (write.kind) {
      case RecordWrite::Kind::Key:
        OpenForWriting(registry, write.name.c_str());
        break;
      case RecordWrite::Kind::Text:
        registry.WriteString(write.name, write.text);
        break;
      case RecordWrite::Kind::Number:
        registry.WriteInteger(write.name, write.number);
        break;
      case RecordWrite::Kind::Bytes:
        registry.WriteBinaryData(write.name, write.bytes.data(), write.bytes.size());
        break;
    }
  }
}

void WriteInstallationRecord(const InstallationRecord& record) {
  const std::vector<RecordWrite> writes = InstallationRecordWrites(record);
  PerformRecordWrites(writes, writes.size());
}

namespace {

pub::RecordValue ValueShape(const tk::TRegistry& registry, const char* name) {
  const tk::RegistryValue stored = registry.TryReadValue(name);
  pub::RecordValue value;
  value.present = stored.exists;
  value.type = stored.type;
  if (stored.type == REG_SZ || stored.type == REG_EXPAND_SZ) value.text = tk::TRegistry::TextOfData(stored.data);
  value.bytes = stored.data;
  return value;
}

}  // namespace

pub::InstallationRecordReading ReadInstallationRecord() {
  pub::RecordValues values;
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.OpenKey(kVersionKey, false)) {
    values.versionKeyExists = true;
    values.installpath = ValueShape(registry, "installpath");
    values.ver = ValueShape(registry, "ver");
    values.installfilecount = ValueShape(registry, "installfilecount");
    values.hadSetJavaHome = ValueShape(registry, "HadSetJAVA_HOME");
    registry.CloseKey();
  }
  std::string unlisted;
  if (registry.OpenKey(kProductKey, false)) {
    values.productKeyExists = true;
    try {
      values.products = registry.GetValueNames();
    } catch (const std::exception& error) {
      unlisted = std::string("无法列出安装记录中的产品：") + error.what();
    }
  }
  pub::InstallationRecordReading reading = pub::JudgeRecord(values);
  if (!unlisted.empty()) reading.notes.push_back(unlisted);
  return reading;
}

}  // namespace setup
