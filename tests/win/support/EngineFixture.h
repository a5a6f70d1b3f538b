// The installation engine under test, without a window: a setup folder of the test's own with a
// package of the test's making, the runs started as both faces start them, what they report
// recorded, and the machine-wide state they touch (record, services, the system JAVA_HOME, the
// default install folder c:\quarn) cleaned before and restored or cleaned after.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/portable/Progress.h"
#include "setup/win/Runs.h"
#include "tests/win/support/PackageBuilder.h"
#include "tests/win/support/RecordSupport.h"
#include "tests/win/support/WinTestSupport.h"

namespace testing_support {

// Everything a run reports, as it reported it.
class RecordedProgress : public pub::Progress {
 public:
  struct StepOutcome {
    pub::RunStep step;
    bool succeeded;
    std::string reason;
  };
  void Step(const std::string& title) override { steps.push_back(title); }
  void Range(int total) override { range = total, position = 0; }
  void Advance() override { ++position; }
  void Complete() override { position = range; }
  void Status(const std::string& text) override { status = text; }
  void Line(const std::string& text) override { lines.push_back(text); }
  void Note(const std::string& text) override { notes.push_back(text), notedAt.push_back(position); }
  void Failure(const std::string& what, const std::string& reason) override { failures.push_back(what + ": " + reason); }
  void Outcome(pub::RunStep step, bool succeeded, const std::string& reason) override {
    outcomes.push_back({step, succeeded, reason});
  }

  std::vector<std::string> steps, lines, notes, failures;
  std::vector<int> notedAt;  // the gauge's position when each note came
  std::vector<StepOutcome> outcomes;
  std::string status;
  int range = 0, position = 0;
};

// The machine-wide state a run touches, put in order for a test and afterwards: no services
// of ours, the system JAVA_HOME as it was, no c:\quarn.
class MachineStateGuard {
 public:
  MachineStateGuard();
  ~MachineStateGuard();
  MachineStateGuard(const MachineStateGuard&) = delete;
  MachineStateGuard& operator=(const MachineStateGuard&) = delete;

 private:
  std::string savedJavaHome_;
};

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Setup.pak beside the program, holding the files.
  void PlacePackage(const std::vector<PackageFile>& files);
  // The runs as the wizard and /S start them, reported to progress, with the bounds below.
  setup::InstallOutcome Install(const std::string& folder, bool repair = false);
  setup::UninstallOutcome Uninstall();
  // An install that must succeed: its reason is shown (in UTF-8) when it does not.
  void InstallOrFail(const std::string& folder, bool repair = false);

 public:
  // The system-wide JAVA_HOME, or empty.
  static std::string SystemJavaHome();
  static void SetSystemJavaHome(const std::string& value);  // empty removes it
  // Removes a service of that name if there is one.
  static void DeleteService(const wchar_t* name);

  static std::string ReadFile(const std::string& path);
  static bool Exists(const std::string& path);
  static void MakeFolders(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& content);

 protected:
  BoxRecorder boxes;  // an engine shows none: a box would wait for nobody under /S
  TempFolder folder;  // setup folder; the staging folder is inside it
  setup::RunFolders folders;  // the runs' folders in it, and its run.log
  RecordedProgress progress;
  pub::CommandBounds bounds;  // the real ones, unless a test makes them small
  std::vector<pub::StagingResult> staged;  // what each run's staging reported
  // The package's index each run is given; none: the run reads it itself.
  std::shared_ptr<const pub::PackageIndex> package;

 private:
  std::unique_ptr<MachineStateGuard> machine_;
};

// A small bundle like the real one: forum, cms and blog, the Tomcat and MySQL configuration
// files with the default paths, and the services' stand-ins.
std::vector<PackageFile> BundleFiles(bool forum, bool cms);

}  // namespace testing_support
