// The install run without a window: staging, copying, configuration, services, environment
// and record, as small named steps that report to a Progress. The wizard runs it behind its
// copying page; an unattended install runs it with a log. Every failure raises InstallFailed
// (NotEnoughSpace and PortTaken before anything is written, PackageProblem for a missing or
// damaged package) with a reason a person can act on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/portable/Progress.h"
#include "toolkit/core/Errors.h"

namespace ui {

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
  // folder: the install folder as the user gave it, without a trailing '\'.
  InstallEngine(std::string folder, pub::Progress& progress) : folder_(std::move(folder)), progress_(progress) {}

  // Called once staging has found the products and the package's version.
  std::function<void(const std::vector<std::string>& products)> onStaged;

  // Every step in order; returns once the installation is complete and recorded.
  void Run();

  // True only when this run created the system-wide JAVA_HOME, or a repair found the one an
  // earlier run of ours created.
  bool HadSetJavaHome() const { return hadSetJavaHome_; }

  // The steps.
  void CheckFolder();
  void CheckDiskSpace();
  void CheckPorts();
  void Stage();
  void MakeFolder();
  void StopServices();
  void Record();
  void Copy();
  // A copy of this program at install folder + "\install\Uninstall.exe", the path the
  // uninstall entry names.
  void PlaceUninstaller();
  void Patch();
  void RegisterDatabase();
  void SetJavaHome();
  void RegisterWebServer();

 private:
  // Runs a step's work and reports its outcome; a failure goes on to the caller.
  void Perform(pub::RunStep step, const std::function<void()>& work);

  std::string folder_;
  pub::Progress& progress_;
  std::vector<std::string> products_;
  bool hadSetJavaHome_ = false;
  bool javaHomeWasOurs_ = false;
};

}  // namespace ui
