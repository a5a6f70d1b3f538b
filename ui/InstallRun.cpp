// The install run: the whole work of the copying page.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <set>

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/portable/ProcessValues.h"
#include "common/win/DiskSpace.h"
#include "common/win/Publicfunc.h"
#include "common/win/Services.h"
#include "common/win/Staging.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/Registry.h"
#include "ui/CurrentFolder.h"
#include "ui/InstallRecordKeys.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {

constexpr uint16_t kShowWindow = 5;  // SW_SHOW

using tk::FileExists;
using tk::FolderExists;

// The package date in the system's short date form.
std::string ShortDate(tk::TDateTime date) {
  SYSTEMTIME time = {};
  if (!VariantTimeToSystemTime(date, &time)) return std::string();
  wchar_t text[80];
  if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 80)) return std::string();
  return tk::FromWide(text);
}

// Replaces a default prefix in a file at most once per run: a folder that itself begins with
// the default one would otherwise be extended again by the second branch.
class OncePerRun {
 public:
  void Replace(const std::string& file, const std::string& find, const std::string& replacement) {
    if (!done_.insert({pub::GbkUpperCase(file), find}).second) return;
    pub::ReplaceInTextFile(file, find, replacement);
  }

 private:
  std::set<std::pair<std::string, std::string>> done_;
};

}  // namespace

void TfSetupMainForm::RunInstall() {
  // Counting leaves the current folder inside the staging folder; the run gives back the one
  // it started with, so that the staging folder can be deleted at close.
  CurrentFolder runFolder;
  struct Restore {
    CurrentFolder& folder;
    ~Restore() { folder.RestoreQuietly(); }
  } restore{runFolder};
  HadSetJAVA_HOME = false;
  const std::string installFolder = CheckedInstallFolder();
  CheckDiskSpace(installFolder);
  StageProducts();
  MakeInstallFolder(installFolder);
  // A repair finds the JAVA_HOME an earlier run of ours created: it stays ours to remove.
  const bool javaHomeWasOurs =
      RecordSaysJavaHomeIsOurs() && pub::SystemVariableHolds("JAVA_HOME", installFolder + "\\java");
  HadSetJAVA_HOME = javaHomeWasOurs;
  StopInstalledServices();
  // Recorded before the first file is copied: an installation that is interrupted, however,
  // can then be repaired or removed by the next start.
  WriteInstallRecord();
  CopyProducts(installFolder);
  PatchConfiguration(installFolder);
  RegisterServices(installFolder, javaHomeWasOurs);
  Label17->SetCaption("正在更新windows注册表......");
  WriteInstallRecord();

  Label16->SetVisible(false);
  Label17->SetCaption("安装成功!");
  Gauge1->SetProgress(Gauge1->MaxValue());
  FullInstallPage_2->Repaint();
  NextBtn->SetCaption(kFinishCaption);
  NextBtn->SetEnabled(true);
  UpBtn->SetEnabled(false);
  CloseBtn->SetEnabled(false);
}

void TfSetupMainForm::StageProducts() {
  pub::ProcessValues& process = pub::Process();
  Label16->SetCaption("解压文件到临时目录：");
  pub::StagingResult staged = pub::UnpackPackage(Gauge1, Label17, Memo3);
  switch (staged.kind) {
    case pub::StagingResult::Done:
      break;
    case pub::StagingResult::PackageMissing:
      throw InstallFailed(std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") + kDownloadSite +
                          "从新下载");
    case pub::StagingResult::PackageDamaged:
      throw InstallFailed(std::string("系统安装包损坏， Setup.pak文件不可使用，请检查，或进入") + kMakerSite +
                          "从新下载\r\n" + staged.detail);
    case pub::StagingResult::CannotWrite:
      throw InstallFailed("无法解压文件到临时目录，安装没有完成。\r\n" + staged.detail);
  }
  ProductList->Clear();
  if (process.ProductNames)
    for (const std::string& name : *process.ProductNames) ProductList->Add(name);
  for (int i = 0; i < ProductList->Count(); ++i) ProductList->SetChecked(i, true);
  Label23->SetCaption("本次安装包版本为：V" + process.PackageVersion + " 制作日期：" + ShortDate(process.PackageDate));
}

std::string TfSetupMainForm::CheckedInstallFolder() {
  Edit1->SetText(pub::WithoutTrailingBackslash(Edit1->Text()));
  const std::string installFolder = Edit1->Text();
  std::string problem = pub::InstallFolderProblem(installFolder);
  if (!problem.empty()) throw InstallFailed(problem);
  return installFolder;
}

void TfSetupMainForm::CheckDiskSpace(const std::string& installFolder) {
  // The package lands twice: unpacked into the staging folder, then copied into place.
  const uint64_t size = pub::UnpackedPackageSize();
  std::optional<pub::SpaceShortage> shortage =
      pub::FindSpaceShortage({{pub::Process().StagingFolder, size}, {installFolder, size}});
  if (!shortage) return;
  throw NotEnoughSpace("磁盘空间不足，安装没有开始：驱动器 " + shortage->drive + " 需要 " +
                       pub::ByteCountText(shortage->needed) + "，只有 " + pub::ByteCountText(shortage->available) +
                       " 可用。\r\n请释放磁盘空间，或选择其他安装目录。");
}

void TfSetupMainForm::MakeInstallFolder(const std::string& installFolder) {
  if (!FolderExists(installFolder)) {
    int made = SHCreateDirectoryExW(nullptr, tk::ToWide(installFolder).c_str(), nullptr);
    if (!FolderExists(installFolder))
      throw InstallFailed("无法建立安装目录 " + installFolder + "。" + tk::SysErrorMessage(static_cast<uint32_t>(made)));
  }
}

void TfSetupMainForm::StopInstalledServices() {
  pub::ProcessValues& process = pub::Process();
  Label16->SetCaption("拷贝Quarn产品文件到安装目录：");
  for (int i = 0; i < ProductList->Count(); ++i)
    if (ProductList->Checked(i))
      Gauge1->SetMaxValue(Gauge1->MaxValue() + pub::CountFiles(process.StagingFolder + ProductList->Item(i)));
  Gauge1->SetMinValue(0);
  Gauge1->SetProgress(0);
  // A repair copies over the programs of running services, which Windows does not allow:
  // they are stopped first and started again below.
  for (const char* service : {"tomcatquarn", "mysqlquarn"})
    if (pub::ServiceExists(service)) {
      Label17->SetCaption("正在停止已安装的服务......");
      pub::RunAndWait(std::string("net stop ") + service, kShowWindow);
    }
}

void TfSetupMainForm::CopyProducts(const std::string& installFolder) {
  pub::ProcessValues& process = pub::Process();
  Memo3->AddLine("将Quarn系统文件拷贝到：" + installFolder + " 下");
  std::vector<pub::CopyFailure> failures;
  for (int i = 0; i < ProductList->Count(); ++i)
    if (ProductList->Checked(i))
      pub::CopyFolderTree(process.StagingFolder + ProductList->Item(i), installFolder + "\\" + ProductList->Item(i),
                          nullptr, true, Gauge1, Label17, Memo3, &failures);
  // Files are missing: no success is claimed; the record written before copying stays, so
  // that the partial installation can be repaired or removed.
  if (!failures.empty())
    throw InstallFailed(tk::Format("有 %d 个文件无法拷贝到安装目录，安装没有完成。\r\n第一个文件：%s\r\n原因：%s",
                                   static_cast<int>(failures.size()), failures[0].target.c_str(),
                                   failures[0].message.c_str()));
}

void TfSetupMainForm::PatchConfiguration(const std::string& installFolder) {
  Label17->SetCaption("正在修改基础软件配置文件......");
  const std::string forumXml = installFolder + "\\tomcat5\\conf\\Catalina\\localhost\\forum.xml";
  // Which products the configuration was patched for; the default folder needs no patching.
  bool forum = false, cms = false;
  if (installFolder != kDefaultInstallFolder) {
    std::string slashForm = installFolder;
    pub::ReplaceChar('\\', '/', slashForm);
    const std::string catalina = installFolder + "\\tomcat5\\bin\\catalina.bat";
    const std::string cmsXml = installFolder + "\\tomcat5\\conf\\Catalina\\localhost\\cms.xml";
    const std::string myIni = installFolder + "\\MySQL5\\my.ini";
    OncePerRun patch;
    if (FolderExists(installFolder + "\\eforum\\WEB-INF\\classes\\")) {
      patch.Replace(catalina, "c:\\quarn\\", installFolder + "\\");
      patch.Replace(forumXml, "c:/quarn/", slashForm + "/");
      patch.Replace(myIni, "C:/quarn/", slashForm + "/");
      forum = true;
    }
    if (FolderExists(installFolder + "\\ecms\\")) {
      if (FileExists(forumXml)) patch.Replace(forumXml, "c:/quarn/", slashForm + "/");
      patch.Replace(catalina, "c:\\quarn\\", installFolder + "\\");
      patch.Replace(cmsXml, "c:/quarn/", slashForm + "/");
      patch.Replace(myIni, "C:/quarn/", slashForm + "/");
      cms = true;
    }
  }
  if (forum && cms)
    pub::ReplaceInTextFile(forumXml, "Context path=\"\"", "Context path=\"/forum\"");
  else if (cms)
    DeleteFileW(tk::ToWide(forumXml).c_str());
}

void TfSetupMainForm::RegisterServices(const std::string& installFolder, bool javaHomeWasOurs) {
  if (FolderExists(installFolder + "\\MySQL5")) {
    Label17->SetCaption("正在设置Mysql服务项......");
    CurrentFolder current;
    current.Change(installFolder + "\\MySQL5\\bin");
    pub::RunAndWait("mysqld-nt --install mysqlquarn", kShowWindow);
    pub::RunAndWait("net start mysqlquarn", kShowWindow);
    current.Restore();
  }
  if (FolderExists(installFolder + "\\tomcat5")) {
    // Set before the service tool runs, so that it inherits the variable.
    HadSetJAVA_HOME = pub::SetEnvVariable("JAVA_HOME", installFolder + "\\java", false, false) || javaHomeWasOurs;
    Label17->SetCaption("正在设置tomcat服务项......");
    CurrentFolder current;
    current.Change(installFolder + "\\tomcat5\\bin");
    pub::RunAndWait("service.bat install tomcatquarn", kShowWindow);
    pub::RunAndWait("net start tomcatquarn", kShowWindow);
    current.Restore();
    // The service key lives under SYSTEM, which Windows keeps in one view for every program.
    tk::TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kTomcatServiceKey, true))
      throw InstallFailed(std::string("无法写入注册表键 HKEY_LOCAL_MACHINE") + kTomcatServiceKey);
    registry.WriteInteger("Start", 2);  // automatic start
    registry.CloseKey();
  }
}

}  // namespace ui
