// The installation record: written from a plain description, read back at start-up.
#include <windows.h>

#include "common/portable/ProcessValues.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Registry.h"
#include "ui/InstallRecordKeys.h"
#include "ui/InstallationRecord.h"
#include "ui/SetupMainForm.h"

namespace ui {

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

void WriteInstallationRecord(const InstallationRecord& record) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  OpenForWriting(registry, kVersionKey);
  registry.WriteString("ver", record.version);
  registry.WriteBinaryData("installdate", &record.packageDate, sizeof record.packageDate);
  registry.WriteString("installpath", record.folder);
  registry.WriteInteger("installfilecount", record.fileCount);
  registry.WriteInteger("HadSetJAVA_HOME", record.hadSetJavaHome ? 1 : 0);
  registry.CloseKey();
  OpenForWriting(registry, kProductKey);
  for (const std::string& product : record.products) registry.WriteInteger(product, 1);
  registry.CloseKey();
  OpenForWriting(registry, kUninstallKey);
  registry.WriteString("DisplayIcon", record.folder + kUninstallerPath);
  registry.WriteString("DisplayName", kDisplayName);
  registry.WriteString("DisplayVersion", record.version);
  registry.WriteString("Publisher", kPublisher);
  // Quoted, as Windows expects of a program path that may hold blanks.
  const std::string uninstaller = "\"" + record.folder + kUninstallerPath + "\"";
  registry.WriteString("UninstallString", uninstaller);
  registry.WriteString("URLInfoAbout", kMakerSite);
  // What deployment tools read besides: where it lives, how to remove it without questions,
  // its size, its date; repairing means running setup.exe again, not a button here.
  registry.WriteString("InstallLocation", record.folder);
  registry.WriteString("QuietUninstallString", uninstaller + " /S");
  registry.WriteInteger("EstimatedSize", static_cast<int32_t>((record.packageBytes + 1023) / 1024));
  registry.WriteString("InstallDate", Today());
  registry.WriteInteger("NoModify", 1);
  registry.WriteInteger("NoRepair", 1);
  registry.CloseKey();
}

void TfSetupMainForm::WriteInstallRecord() {
  const pub::ProcessValues& process = pub::Process();
  InstallationRecord record{process.PackageVersion, process.PackageDate, Edit1->Text(), process.InstalledFileCount,
                            process.PackageBytes,   HadSetJAVA_HOME,     {}};
  for (int i = 0; i < ProductList->Count(); ++i) record.products.push_back(ProductList->Item(i));
  WriteInstallationRecord(record);
}

bool RecordSaysJavaHomeIsOurs() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kVersionKey, false) || !registry.ValueExists("HadSetJAVA_HOME")) return false;
  try {
    return registry.ReadInteger("HadSetJAVA_HOME") != 0;
  } catch (const tk::Exception&) {
    return false;
  }
}

RecordedInstallation ReadRecordedInstallation() {
  RecordedInstallation recorded;
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kVersionKey, false)) return recorded;
  recorded.exists = true;
  // A missing value reads as empty text; one of another type raises the registry error.
  if (registry.ValueExists("ver")) recorded.version = registry.ReadString("ver");
  if (registry.ValueExists("installpath")) recorded.folder = registry.ReadString("installpath");
  return recorded;
}

bool TfSetupMainForm::DetectInstallation() {
  RecordedInstallation recorded = ReadRecordedInstallation();
  if (!recorded.exists) return false;
  if (Label32) Label32->SetCaption(recorded.version);
  Edit1->SetText(recorded.folder);
  return true;
}

}  // namespace ui
