// The installation record in the registry: the version key, the product key and the entry in
// the system's list of uninstallable programs.
#include <windows.h>

#include "common/portable/ProcessValues.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Registry.h"
#include "ui/InstallRecordKeys.h"
#include "ui/SetupMainForm.h"

namespace ui {

namespace {

// A record that cannot be written is a failed installation, not a silent one.
void OpenForWriting(tk::TRegistry& registry, const char* key) {
  if (!registry.OpenKey(key, true))
    throw tk::ERegistryException(std::string("无法写入注册表键 HKEY_LOCAL_MACHINE") + key);
}

}  // namespace

void TfSetupMainForm::WriteInstallRecord() {
  const pub::ProcessValues& process = pub::Process();
  std::string installFolder = Edit1->Text();
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  OpenForWriting(registry, kVersionKey);
  registry.WriteString("ver", process.PackageVersion);
  registry.WriteBinaryData("installdate", &process.PackageDate, sizeof process.PackageDate);
  registry.WriteString("installpath", installFolder);
  registry.WriteInteger("installfilecount", process.InstalledFileCount);
  registry.WriteInteger("HadSetJAVA_HOME", HadSetJAVA_HOME ? 1 : 0);
  registry.CloseKey();
  OpenForWriting(registry, kProductKey);
  for (int i = 0; i < ProductList->Count(); ++i) registry.WriteInteger(ProductList->Item(i), 1);
  registry.CloseKey();
  OpenForWriting(registry, kUninstallKey);
  registry.WriteString("DisplayIcon", installFolder + kUninstallerPath);
  registry.WriteString("DisplayName", kDisplayName);
  registry.WriteString("DisplayVersion", process.PackageVersion);
  registry.WriteString("Publisher", kPublisher);
  registry.WriteString("UninstallString", installFolder + kUninstallerPath);
  registry.WriteString("URLInfoAbout", kMakerSite);
  registry.CloseKey();
}

bool TfSetupMainForm::RecordSaysJavaHomeIsOurs() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kVersionKey, false) || !registry.ValueExists("HadSetJAVA_HOME")) return false;
  try {
    return registry.ReadInteger("HadSetJAVA_HOME") != 0;
  } catch (const tk::Exception&) {
    return false;
  }
}

bool TfSetupMainForm::DetectInstallation() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kVersionKey, false)) return false;
  // A missing value reads as empty text; one of another type raises the registry error.
  std::string version = registry.ValueExists("ver") ? registry.ReadString("ver") : std::string();
  std::string path = registry.ValueExists("installpath") ? registry.ReadString("installpath") : std::string();
  if (Label32) Label32->SetCaption(version);
  Edit1->SetText(path);
  return true;
}

}  // namespace ui
