// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getdiskfreespaceexw
#include "setup/win/InstallEngine.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <set>

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/portable/GbkText.h"
#include "common/win/DiskSpace.h"
#include "common/win/FilePlacement.h"
#include "common/win/FolderSecurity.h"
#include "setup/win/PlacedFilesStore.h"
#include "setup/win/SetupPackage.h"
#include "setup/win/PortListeners.h"
#include "common/win/Publicfunc.h"
#include "common/win/Services.h"
#include "common/win/Staging.h"
#include "common/win/StagingFolder.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/ProgramPath.h"
#include "setup/win/InstallRecordKeys.h"
#include "setup/win/InstallationRecord.h"

namespace setup {

using tk::FolderExists;

std::string PackageMissingMessage() {
  return std::string("系统安装包损坏，无法找到 Setup.pak文件，请检查，或进入") + kDownloadSite + "从新下载";
}

void InstallEngine::Run() {
  Perform(pub::RunStep::Stage, [this] {
    CheckFolder();
    ChooseStagingFolder();
    // Moved or copied into place: decided once, for the room counted and every product alike.
    placement_ = pub::PlacementBetween(stagingFolder_, folder_);
    CheckDiskSpace();
    CheckPorts();
    Stage();
  });
  Perform(pub::RunStep::Copy, [this] {
    progress_.Step("拷贝Quarn产品文件到安装目录：");
    // The gauge goes on from the staged entries to the files to put in place, which staging
    // has counted: walking the staged tree to count them again would cost a look at every file.
    progress_.Range(staged_.entryCount + static_cast<int>(staged_.files.size()));
    MakeFolder();
    ProtectFolder();
    StopServices();
    FindOurJavaHome();
    KeepChangedFiles();
    // The uninstaller and the list of placed files prove to a removal that the folder is this
    // installation: they are there before the record names it.
    PlaceUninstaller();
    // Listed as pending before any file is placed: a run that stops on the way leaves no entry
    // that would make the next repair keep a factory copy as the user's.
    ListPlacedFiles(false);
    // Recorded before the first product file is placed: an installation that is interrupted,
    // however, can then be repaired or removed by the next start.
    Record();
    Copy();
  });
  Perform(pub::RunStep::Patch, [this] {
    Patch();
    ListPlacedFiles(true);
  });
  // Set before the web server's service tool runs, so that it inherits the variable.
  Perform(pub::RunStep::Environment, [this] {
    SetJavaHome();
    // A run that stops after this point still leaves a record that owns the variable, so
    // that the removal takes it away.
    if (hadSetJavaHome_ != javaHomeWasOurs_) Record();
  });
  Perform(pub::RunStep::Services, [this] {
    RegisterDatabase();
    RegisterWebServer();
    WaitForSite();
  });
  Perform(pub::RunStep::Record, [this] {
    Announce("正在更新windows注册表......");
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

void InstallEngine::Announce(const std::string& text) {
  // A step's own status text is shown at once, not at the pace of file names.
  progress_.Status(text);
  progress_.Flush();
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

void InstallEngine::ChooseStagingFolder() {
  std::string note;
  const std::string given = stagingFolder_;
  stagingFolder_ = pub::ChooseStagingFolder(folder_, given, &note);
  if (!note.empty()) progress_.Note(note);
  if (stagingFolder_ != given) progress_.Note("在安装目录所在的卷上解压：" + stagingFolder_);
}

void InstallEngine::CheckDiskSpace() {
  // The package is unpacked into the staging folder, then put into place: moved within one
  // volume, which needs no more room, and copied across volumes (only where no staging folder
  // could be made on the install folder's), which needs it twice.
  const uint64_t size = package_->unpackedBytes;
  const uint64_t placed = placement_ == pub::Placement::Move ? 0 : size;
  std::optional<pub::SpaceShortage> shortage = pub::FindSpaceShortage({{stagingFolder_, size}, {folder_, placed}});
  if (!shortage) return;
  throw NotEnoughSpace("磁盘空间不足，安装没有开始：驱动器 " + shortage->drive + " 需要 " +
                       pub::ByteCountText(shortage->needed) + "，只有 " + pub::ByteCountText(shortage->available) +
                       " 可用。\r\n请释放磁盘空间，或选择其他安装目录。");
}

void InstallEngine::CheckPorts() {
  // Our own services may hold their ports now: StopServices stops them before they are
  // started again.
  std::vector<pub::PlannedPort> ports = pub::PackagePorts(*package_);
  for (pub::PlannedPort& port : ports) port.servicePid = pub::QueryService(port.service).processId;
  std::string problem = pub::PortsProblem(ports, pub::ListeningPorts());
  if (!problem.empty()) throw PortTaken(problem);
}

void InstallEngine::Stage() {
  progress_.Step("解压文件到临时目录：");
  pub::StagingResult staged = pub::UnpackPackage(*package_, stagingFolder_, &progress_);
  switch (staged.kind) {
    case pub::StagingResult::Done:
      break;
    case pub::StagingResult::PackageMissing:
      throw PackageProblem(PackageMissingMessage());
    case pub::StagingResult::PackageDamaged:
      throw PackageProblem(std::string("系统安装包损坏， Setup.pak文件不可使用，请检查，或进入") + kMakerSite +
                           "从新下载\r\n" + staged.detail);
    case pub::StagingResult::PackageRefused:
      throw PackageProblem("Setup.pak 不可使用，安装没有开始：" + staged.detail + "。\r\n请进入" + kDownloadSite +
                           "从新下载安装程序和安装包。");
    case pub::StagingResult::CannotWrite:
      throw InstallFailed("无法解压文件到临时目录，安装没有完成。\r\n" + staged.detail);
  }
  staged_ = std::move(staged);
  if (onStaged) onStaged(staged_);
}

void InstallEngine::MakeFolder() {
  folderFacts_ = {folder_, FolderExists(folder_), {}, keepChangedFiles, staged_.products, staged_.RootFiles()};
  if (folderFacts_.existed) {
    folderFacts_.entries = pub::FolderEntryNames(folder_);
    return;
  }
  // The parents as the system makes them; the install folder itself with its protected access
  // list from the start, so that nobody else can put anything in it meanwhile.
  const std::string parent = folder_.substr(0, pub::LastDelimiter(folder_, "\\"));
  if (!FolderExists(parent)) SHCreateDirectoryExW(nullptr, tk::ToWide(parent).c_str(), nullptr);
  unsigned long error = 0;
  if (pub::CreateProtectedFolder(folder_, &error)) return;
  if (!FolderExists(folder_)) throw InstallFailed("无法建立安装目录 " + folder_ + "。" + tk::SysErrorMessage(error));
  // Made by someone else in the meantime: judged as a folder that was there.
  folderFacts_.existed = true;
  folderFacts_.entries = pub::FolderEntryNames(folder_);
}

void InstallEngine::ProtectFolder() {
  const pub::FolderProtection protection = pub::PlanFolderProtection(folderFacts_);
  unsigned long error = 0;
  if (!protection.wholeRoot)
    for (const std::string& folder : protection.folders)
      if (!FolderExists(folder) && !pub::CreateProtectedFolder(folder, &error) && !FolderExists(folder))
        throw InstallFailed("无法建立文件夹 " + folder + "。" + tk::SysErrorMessage(error));
  const std::string failure = pub::ApplyFolderProtection(protection);
  if (!failure.empty())
    throw InstallFailed("无法设置安装目录的访问权限，安装没有开始放置文件。\r\n" + failure);
  progress_.Note(protection.Description());
}

void InstallEngine::KeepChangedFiles() {
  if (!keepChangedFiles || !FolderExists(folder_)) return;
  std::optional<std::vector<pub::PlacedFile>> listed = pub::ReadPlacedFiles(folder_);
  const pub::KeepRule rule = listed ? pub::KeepRule::FromList(*listed) : pub::KeepRule::WithoutList();
  if (!listed) progress_.Note("没有找到已安装文件的清单：保留 MySQL5\\data 下已有的文件");
  for (const std::string& path : staged_.files) {
    const std::string target = folder_ + "\\" + path;
    std::optional<pub::FileFacts> found = pub::FactsOf(target);
    if (!found || !rule.Keep(path, *found)) continue;
    // The staged copy goes, so that no walk can put it over the file that stays.
    const std::wstring stagedCopy = tk::ToWide(stagingFolder_ + path);
    if (!DeleteFileW(stagedCopy.c_str()) && GetFileAttributesW(stagedCopy.c_str()) != INVALID_FILE_ATTRIBUTES)
      throw InstallFailed("无法保留已更改的文件 " + target + "。" + tk::SysErrorMessage(GetLastError()));
    kept_.insert(pub::GbkUpperCase(target));
    if (const pub::PlacedFile* entry = rule.Entry(path)) keptEntries_.push_back(*entry);
    progress_.Note("保留已更改的文件：" + target);
    progress_.Advance();
  }
}

void InstallEngine::ListPlacedFiles(bool placed) {
  std::vector<pub::PlacedFile> files;
  for (const std::string& path : staged_.files) {
    const std::string target = folder_ + "\\" + path;
    if (kept_.count(pub::GbkUpperCase(target))) continue;
    if (!placed)
      files.push_back({path, {}, true});
    else if (std::optional<pub::FileFacts> facts = pub::FactsOf(target))
      files.push_back({path, *facts});
  }
  // A kept file keeps the entry it had, so that the next repair still finds it changed.
  files.insert(files.end(), keptEntries_.begin(), keptEntries_.end());
  const std::string listFolder = folder_ + "\\install";
  if (!FolderExists(listFolder)) SHCreateDirectoryExW(nullptr, tk::ToWide(listFolder).c_str(), nullptr);
  std::string reason;
  if (!pub::WritePlacedFiles(folder_, files, &reason)) throw InstallFailed("无法写入已安装文件的清单 " + reason);
}

void InstallEngine::Record() {
  WriteInstallationRecord({staged_.version, staged_.date, folder_, staged_.entryCount, staged_.packageBytes,
                           hadSetJavaHome_, staged_.products});
}

void InstallEngine::Copy() {
  progress_.Line("将Quarn系统文件拷贝到：" + folder_ + " 下");
  std::vector<pub::CopyFailure> failures;
  for (const std::string& product : staged_.products)
    pub::PlaceFolderTree(stagingFolder_ + product, folder_ + "\\" + product, placement_, &progress_, &failures);
  PlaceRootFiles(&failures);
  if (failures.empty()) return;
  for (const pub::CopyFailure& failure : failures) progress_.Failure(failure.target, failure.message);
  // Files are missing: no success is claimed; the record written before copying stays, so
  // that the partial installation can be repaired or removed.
  throw InstallFailed(tk::Format("有 %d 个文件无法拷贝到安装目录，安装没有完成。\r\n第一个文件：%s\r\n原因：%s",
                                 static_cast<int>(failures.size()), failures[0].target.c_str(),
                                 failures[0].message.c_str()));
}

void InstallEngine::PlaceRootFiles(std::vector<pub::CopyFailure>* failures) {
  for (const std::string& name : staged_.RootFiles()) {
    const std::string target = folder_ + "\\" + name;
    if (kept_.count(pub::GbkUpperCase(target))) continue;  // its staged copy is gone already
    // Moved or copied as the product folders are.
    if (const DWORD code = pub::PlaceFile(stagingFolder_ + name, target, placement_))
      failures->push_back({target, code, tk::SysErrorMessage(code)});
    progress_.Line("copy:" + target);
    progress_.Advance();
  }
}

}  // namespace setup
