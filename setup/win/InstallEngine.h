// The install run without a window: staging, copying, configuration, services, environment
// and record, as small named steps that report to a Progress. The wizard runs it behind its
// copying page; an unattended install runs it with a log. Every failure raises InstallFailed
// (NotEnoughSpace and PortTaken before anything is written, PackageProblem for a missing or
// damaged package) with a reason a person can act on.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "setup/portable/CommandBounds.h"
#include "common/win/ExternalCommands.h"
#include "common/portable/FolderProtection.h"
#include "common/portable/PackageIndex.h"
#include "setup/portable/PlacedFiles.h"
#include "common/portable/Progress.h"
#include "common/portable/ToolCommand.h"
#include "common/win/FilePlacement.h"
#include "common/win/FileTree.h"
#include "common/win/Staging.h"
#include "toolkit/core/Errors.h"

namespace setup {

// Where a missing or damaged package can be fetched again.
constexpr const char* kDownloadSite = "http://www.quarn.cn/download/";

// No Setup.pak beside the program: said at start-up and by a run that finds none.
std::string PackageMissingMessage();

class InstallFailed : public tk::Exception {
  using tk::Exception::Exception;
};

// Not enough free space on a drive the run would write to; nothing was written.
class NotEnoughSpace : public InstallFailed {
  using InstallFailed::InstallFailed;
};

// A port our services will listen on is held by another program; nothing was written.
class PortTaken : public InstallFailed {
  using InstallFailed::InstallFailed;
};

// Setup.pak missing or damaged; nothing was installed.
class PackageProblem : public InstallFailed {
  using InstallFailed::InstallFailed;
};

class InstallEngine {
 public:
  // folder: the install folder as the user gave it, without a trailing '\'; stagingFolder:
  // where the package is unpacked when the install folder is on its volume, ending in '\';
  // package: the package's index, read once (setup::ReadSetupPackage), for every step that
  // reads it.
  InstallEngine(std::string folder, std::string stagingFolder, std::shared_ptr<const pub::PackageIndex> package,
                pub::Progress& progress)
      : folder_(std::move(folder)),
        stagingFolder_(std::move(stagingFolder)),
        package_(std::move(package)),
        progress_(progress) {}

  // A repair or an upgrade: files changed since the installation (by the user, or by a
  // service) stay as they are. A fresh installation replaces every file.
  bool keepChangedFiles = false;

  // How long each service command may run, and the waits for the services and the site.
  pub::CommandBounds bounds;
  // How the service commands' consoles are shown: pub::kShowWindow, or pub::kHideWindow.
  uint16_t commandShowMode = pub::kShowWindow;

  // Called once staging has found the products and the package's version.
  std::function<void(const pub::StagingResult& staged)> onStaged;

  // Every step in order; returns once the installation is complete and recorded.
  void Run();

  // True only when this run created the system-wide JAVA_HOME, or a repair found the one an
  // earlier run of ours created.
  bool HadSetJavaHome() const { return hadSetJavaHome_; }
  // Where this run staged: the staging folder it was given, or one on the install folder's
  // volume, which the run removes once it has ended.
  const std::string& StagingFolder() const { return stagingFolder_; }

  // The steps.
  void CheckFolder();
  // Stages on the install folder's volume when that is not the staging folder's, so that the
  // files are put in place by renaming them (pub::ChooseStagingFolder).
  void ChooseStagingFolder();
  void CheckDiskSpace();
  void CheckPorts();
  void Stage();
  // Makes the install folder when it is missing, with its protected access list, and notes
  // what it held before.
  void MakeFolder();
  // The protected access list on the install folder, or on each product folder and "install"
  // when the folder held someone's files; before any file is placed, for a repair too.
  void ProtectFolder();
  // The installed services stopped, side by side, before any file is replaced; one that does
  // not stop within its bounds stops the run with the reason.
  void StopServices();
  // Whether the JAVA_HOME the machine has is the one an earlier run of ours created.
  void FindOurJavaHome();
  void Record();
  // Before anything is placed: which files found in the install folder stay, by the list of
  // the installation being repaired; their staged copies go.
  void KeepChangedFiles();
  void Copy();
  // The files right in the package's root, which belong to no product folder.
  void PlaceRootFiles(std::vector<pub::CopyFailure>* failures);
  // A copy of this program at install folder + "\install\Uninstall.exe", the path the
  // uninstall entry names.
  void PlaceUninstaller();
  void Patch();
  // The list of placed files beside the uninstaller: before placing, every file to be placed
  // as pending; once placed and patched, as they are.
  void ListPlacedFiles(bool placed);
  void RegisterDatabase();
  void SetJavaHome();
  void RegisterWebServer();
  // Once its server runs, until the site answers on port 8080 (bounded).
  void WaitForSite();

 private:
  // Runs a step's work and reports its outcome; a failure goes on to the caller.
  void Perform(pub::RunStep step, const std::function<void()>& work);
  // A step's own status text, shown at once rather than at the pace of file names.
  void Announce(const std::string& text);
  // Runs a service tool or "net" and logs its outcome; one that did not end within its bound
  // fails the run, naming it.
  pub::CommandOutcome RunServiceCommand(const pub::ToolCommand& command);
  // registration, then "net start service", then waits (bounded) until it runs; one that does
  // not fails the run, naming the service, its state and any command that could not be started.
  void RegisterAndStart(const std::string& service, const std::string& title, const pub::ToolCommand& registration);

  std::string folder_;
  std::string stagingFolder_;
  std::shared_ptr<const pub::PackageIndex> package_;
  pub::Progress& progress_;
  pub::StagingResult staged_;
  pub::Placement placement_ = pub::Placement::Copy;  // how the staged files get into folder_
  pub::InstallFolderFacts folderFacts_;  // the package as staging found it, and the staged files
  std::set<std::string> kept_;  // upper-cased full paths
  std::vector<pub::PlacedFile> keptEntries_;
  bool hadSetJavaHome_ = false;
  bool javaHomeWasOurs_ = false;
};

}  // namespace setup
