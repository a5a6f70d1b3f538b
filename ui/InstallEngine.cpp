// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getdiskfreespaceexw
#include "ui/InstallEngine.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <set>

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/portable/ProcessValues.h"
#include "common/win/DiskSpace.h"
#include "common/win/FilePlacement.h"
#include "common/win/PackagePorts.h"
#include "common/win/PortListeners.h"
#include "common/win/Publicfunc.h"
#include "common/win/Services.h"
#include "common/win/Staging.h"
#include "common/win/Volumes.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/ProgramPath.h"
#include "toolkit/win/Registry.h"
#include "ui/CurrentFolder.h"
#include "ui/InstallRecordKeys.h"
#include "ui/InstallationRecord.h"
#include "ui/SetupMainForm.h"

namespace ui {
namespace {


using tk::FileExists;
using tk::FolderExists;

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

// A step's own status text is shown at once, not at the pace of file names.
void Announce(pub::Progress& progress, const std::string& text) {
  progress.Status(text);
  progress.Flush();
}

}  // namespace

void InstallEngine::Run() {
  Perform(pub::RunStep::Stage, [this] {
    CheckFolder();
    CheckDiskSpace();
    CheckPorts();
    Stage();
  });
  Perform(pub::RunStep::Copy, [this] {
    MakeFolder();
    StopServices();
    // Recorded before the first file is copied: an installation that is interrupted, however,
    // can then be repaired or removed by the next start.
    Record();
    Copy();
    PlaceUninstaller();
  });
  Perform(pub::RunStep::Patch, [this] { Patch(); });
  // Set before the web server's service tool runs, so that it inherits the variable.
  Perform(pub::RunStep::Environment, [this] { SetJavaHome(); });
  Perform(pub::RunStep::Services, [this] {
    RegisterDatabase();
    RegisterWebServer();
  });
  Perform(pub::RunStep::Record, [this] {
    Announce(progress_, "正在更新windows注册表......");
    Record();
  });
}

void InstallEngine::Perform(pub::RunStep step, const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    progress_.Outcome(step, false, error.what());
    throw;
  }
  progress_.Outcome(step, true, std::string());
}

void InstallEngine::PlaceUninstaller() {
  // This very program, which knows the record, is the uninstaller the uninstall entry names.
  const std::wstring self = tk::ProgramPath();
  const std::string folder = folder_ + "\\install";
  if (!FolderExists(folder)) SHCreateDirectoryExW(nullptr, tk::ToWide(folder).c_str(), nullptr);
  const std::wstring target = tk::ToWide(folder + "\\Uninstall.exe");
  if (_wcsicmp(self.c_str(), target.c_str()) == 0) return;
  if (!CopyFileW(self.c_str(), target.c_str(), FALSE)) {
    DWORD code = GetLastError();
    progress_.Failure(tk::FromWide(target), tk::SysErrorMessage(code));
    throw InstallFailed("无法建立卸载程序 " + tk::FromWide(target) + "。" + tk::SysErrorMessage(code));
  }
}

void InstallEngine::CheckFolder() {
  std::string problem = pub::InstallFolderProblem(folder_);
  if (!problem.empty()) throw InstallFailed(problem);
}

void InstallEngine::CheckDiskSpace() {
  // The package is unpacked into the staging folder, then put into place: moved within one
  // volume, which needs no more room, and copied across volumes, which needs it twice.
  const uint64_t size = pub::UnpackedPackageSize();
  const std::string& staging = pub::Process().StagingFolder;
  const uint64_t placed = pub::OnOneVolume(staging, folder_) ? 0 : size;
  std::optional<pub::SpaceShortage> shortage = pub::FindSpaceShortage({{staging, size}, {folder_, placed}});
  if (!shortage) return;
  throw NotEnoughSpace("磁盘空间不足，安装没有开始：驱动器 " + shortage->drive + " 需要 " +
                       pub::ByteCountText(shortage->needed) + "，只有 " + pub::ByteCountText(shortage->available) +
                       " 可用。\r\n请释放磁盘空间，或选择其他安装目录。");
}

void InstallEngine::CheckPorts() {
  // Our own services may hold their ports now: StopServices stops them before they are
  // started again.
  std::vector<pub::PlannedPort> ports = pub::PackagePorts();
  for (pub::PlannedPort& port : ports) port.servicePid = pub::ServiceProcessId(port.service);
  std::string problem = pub::PortsProblem(ports, pub::ListeningPorts());
  if (!problem.empty()) throw PortTaken(problem);
}

void InstallEngine::Stage() {
  pub::ProcessValues& process = pub::Process();
  progress_.Step("解压文件到临时目录：");
  pub::StagingResult staged = pub::UnpackPackage(&progress_);
  switch (staged.kind) {
    case pub::StagingResult::Done:
      break;
    case pub::StagingResult::PackageMissing:
      throw PackageProblem(std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") + kDownloadSite +
                           "从新下载");
    case pub::StagingResult::PackageDamaged:
      throw PackageProblem(std::string("系统安装包损坏， Setup.pak文件不可使用，请检查，或进入") + kMakerSite +
                           "从新下载\r\n" + staged.detail);
    case pub::StagingResult::CannotWrite:
      throw InstallFailed("无法解压文件到临时目录，安装没有完成。\r\n" + staged.detail);
  }
  products_ = process.ProductNames ? *process.ProductNames : std::vector<std::string>();
  if (onStaged) onStaged(products_);
}

void InstallEngine::MakeFolder() {
  if (FolderExists(folder_)) return;
  int made = SHCreateDirectoryExW(nullptr, tk::ToWide(folder_).c_str(), nullptr);
  if (!FolderExists(folder_))
    throw InstallFailed("无法建立安装目录 " + folder_ + "。" + tk::SysErrorMessage(static_cast<uint32_t>(made)));
}

void InstallEngine::StopServices() {
  pub::ProcessValues& process = pub::Process();
  progress_.Step("拷贝Quarn产品文件到安装目录：");
  // The gauge goes on from the staged entries to the files to put in place, which staging
  // has counted: walking the staged tree to count them again would cost a look at every file.
  progress_.Range(process.InstalledFileCount + process.StagedFileCount);
  // A repair copies over the programs of running services, which Windows does not allow:
  // they are stopped first and started again below.
  for (const char* service : {"tomcatquarn", "mysqlquarn"})
    if (pub::ServiceExists(service)) {
      Announce(progress_, "正在停止已安装的服务......");
      pub::RunAndWait(std::string("net stop ") + service, pub::kShowWindow);
    }
  // A repair finds the JAVA_HOME an earlier run of ours created: it stays ours to remove.
  javaHomeWasOurs_ = RecordSaysJavaHomeIsOurs() && pub::SystemVariableHolds("JAVA_HOME", folder_ + "\\java");
  hadSetJavaHome_ = javaHomeWasOurs_;
}

void InstallEngine::Record() {
  const pub::ProcessValues& process = pub::Process();
  WriteInstallationRecord({process.PackageVersion, process.PackageDate, folder_, process.InstalledFileCount,
                           process.PackageBytes, hadSetJavaHome_, products_});
}

void InstallEngine::Copy() {
  pub::ProcessValues& process = pub::Process();
  progress_.Line("将Quarn系统文件拷贝到：" + folder_ + " 下");
  std::vector<pub::CopyFailure> failures;
  for (const std::string& product : products_)
    pub::PlaceFolderTree(process.StagingFolder + product, folder_ + "\\" + product, &progress_, &failures);
  if (failures.empty()) return;
  for (const pub::CopyFailure& failure : failures) progress_.Failure(failure.target, failure.message);
  // Files are missing: no success is claimed; the record written before copying stays, so
  // that the partial installation can be repaired or removed.
  throw InstallFailed(tk::Format("有 %d 个文件无法拷贝到安装目录，安装没有完成。\r\n第一个文件：%s\r\n原因：%s",
                                 static_cast<int>(failures.size()), failures[0].target.c_str(),
                                 failures[0].message.c_str()));
}

void InstallEngine::Patch() {
  const std::string& installFolder = folder_;
  Announce(progress_, "正在修改基础软件配置文件......");
  const std::string forumXml = installFolder + "\\tomcat5\\conf\\Catalina\\localhost\\forum.xml";
  // Which products the configuration was patched for; the default folder needs no patching.
  bool forum = false, cms = false;
  if (installFolder != pub::kDefaultInstallFolder) {  // the shipped configuration needs no patching
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

void InstallEngine::RegisterDatabase() {
  if (!FolderExists(folder_ + "\\MySQL5")) return;
  Announce(progress_, "正在设置Mysql服务项......");
  CurrentFolder current;
  current.Change(folder_ + "\\MySQL5\\bin");
  pub::RunAndWait("mysqld-nt --install mysqlquarn", pub::kShowWindow);
  pub::RunAndWait("net start mysqlquarn", pub::kShowWindow);
  current.Restore();
}

void InstallEngine::SetJavaHome() {
  if (!FolderExists(folder_ + "\\tomcat5")) return;
  hadSetJavaHome_ = pub::SetEnvVariable("JAVA_HOME", folder_ + "\\java", false, false) || javaHomeWasOurs_;
}

void InstallEngine::RegisterWebServer() {
  if (!FolderExists(folder_ + "\\tomcat5")) return;
  Announce(progress_, "正在设置tomcat服务项......");
  CurrentFolder current;
  current.Change(folder_ + "\\tomcat5\\bin");
  pub::RunAndWait("service.bat install tomcatquarn", pub::kShowWindow);
  pub::RunAndWait("net start tomcatquarn", pub::kShowWindow);
  current.Restore();
  // The service key lives under SYSTEM, which Windows keeps in one view for every program.
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kTomcatServiceKey, true))
    throw InstallFailed(std::string("无法写入注册表键 HKEY_LOCAL_MACHINE") + kTomcatServiceKey);
  registry.WriteInteger("Start", 2);  // automatic start
  registry.CloseKey();
}

}  // namespace ui
