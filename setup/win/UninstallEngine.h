// The uninstall run without a window: services stopped and removed, JAVA_HOME removed when
// this installation set it and still names its Java, product folders deleted, the record
// deleted, each reported to a Progress. The wizard shows it on its uninstall page; the
// uninstaller and an unattended removal run it with a log.
#pragma once

#include <string>
#include <vector>

#include "setup/portable/CommandBounds.h"
#include "common/win/ExternalCommands.h"
#include "common/portable/Progress.h"
#include "setup/portable/RecordState.h"
#include "setup/portable/RemovalPlan.h"
#include "toolkit/core/Errors.h"

namespace setup {

// Recorded folders were left behind; the record is kept so the removal can be run again.
class UninstallIncomplete : public tk::Exception {
  using tk::Exception::Exception;
};

constexpr const char* kNoUsableFolderText = "安装记录中没有可用的安装目录，没有删除任何文件。安装记录已删除。";

class UninstallEngine {
 public:
  enum class Outcome {
    NothingRecorded,  // no product key: nothing to remove; the record is deleted
    NoUsableFolder,   // products recorded, but no folder to remove them from; the record is deleted
    Removed,          // every recorded product folder is gone, and the record with them
    Refused,          // the recorded folder is not this installation's: nothing was done
  };

  // progress may be null.
  explicit UninstallEngine(pub::Progress* progress) : progress_(progress) {}

  // How long each service command may run, and the waits for the services.
  pub::CommandBounds bounds;
  // How the service commands' consoles are shown: pub::kShowWindow, or pub::kHideWindow.
  uint16_t commandShowMode = pub::kShowWindow;

  // Removes what record (the installation record as read) names. Raises UninstallIncomplete
  // when a recorded folder stays; the record is kept then. A damaged record names no folder to
  // remove from, except a drive or a share, which is refused like any folder not proven ours.
  Outcome Run(const pub::InstallationRecordReading& record);
  // Why a Refused run did nothing, naming the folder; "" otherwise.
  const std::string& Refusal() const { return refusal_; }
  // What a Removed run could not delete and left to be deleted at the next restart.
  const std::vector<std::string>& LeftForRestart() const { return leftForRestart_; }

 private:
  // Stops and unregisters every service and deletes the product folders, as the plan orders.
  void RemoveProducts(const pub::RemovalPlan& plan);
  // Deletes one product folder, trying again for a moment while something still holds it.
  // Runs on a deleting thread: reports to progress only.
  void DeleteProduct(const std::string& folder, pub::Progress* progress);
  // Raises UninstallIncomplete, naming each and why, when product folders are still there.
  void StopIfFoldersRemain(const std::vector<std::string>& folders);
  // Once every product is gone: the files placed right in the install folder, the list of
  // placed files, the uninstaller, then the install folder itself when nothing else is in it.
  void RemoveInstallFolder();
  // install\Uninstall.exe and its folder, unless it is the running program; what another
  // program holds open goes at the next restart.
  void RemoveUninstaller();
  void DeleteRecord();

  pub::Progress* progress_;
  bool hadSetJavaHome_ = false;  // as the record says
  std::string installFolder_;
  std::string refusal_;
  std::vector<std::string> leftForRestart_;
};

// The note a removal leaves in its log and box when files wait for the next restart (GBK).
std::string LeftForRestartNote(const std::vector<std::string>& paths);

// The install folder this program was started from as its install\Uninstall.exe; "" when it
// runs under another name or from elsewhere (setup.exe /uninstall, the wizard's choice).
std::string InstallFolderOfRunningUninstaller();

// "" when the recorded folder is this installation (it holds its uninstaller and its list of
// placed files, is no system folder, and is the folder a running install\Uninstall.exe
// belongs to); otherwise why not, naming the folder.
std::string WhyRecordedFolderIsNotOurs(const std::string& recordedFolder);

}  // namespace setup
