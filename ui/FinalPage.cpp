// The final page's two actions: the database service registered again on arrival, the site
// opened by Next. Neither changes the process's current folder.
#include "common/portable/PathText.h"
#include "setup/win/SiteCheck.h"
#include "common/win/WorkerRun.h"
#include "setup/win/DatabaseRegistration.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Dialogs.h"
#include "toolkit/win/Shell.h"
#include "ui/SetupMainForm.h"

namespace ui {

void TfSetupMainForm::RegisterDatabaseAgain() {
  const std::string folder = pub::WithoutTrailingBackslash(model_->Folder());
  // The command runs apart, so that the window keeps painting; Next waits for its end, and a
  // close asked for meanwhile is done after it.
  const bool nextEnabled = NextBtn->Enabled();
  NextBtn->SetEnabled(false);
  runActive_ = true;
  setup::DatabaseRegistration registration;
  pub::NoDisplay none;
  try {
    pub::RunOnWorker([&](pub::ProgressQueue&) { registration = setup::RegisterDatabaseAgain(folder, folders_); }, none);
  } catch (const std::exception& error) {
    registration.registered = false;
    registration.problem = error.what();
  }
  runActive_ = false;
  NextBtn->SetEnabled(nextEnabled);
  if (!registration.registered) tk::ShowError(registration.problem);
  if (closePending_) Close();
}

void TfSetupMainForm::FinishAction() {
  const std::string folder = pub::WithoutTrailingBackslash(model_->Folder());
  // The site is the web server's: without it there is nothing to open.
  if (tk::FolderExists(folder + "\\tomcat5")) {
    const std::string failure = tk::OpenAddress(Handle(), pub::kSiteAddress);
    if (!failure.empty()) {
      tk::ShowError(std::string("无法打开网站 ") + pub::kSiteAddress + "：" + failure +
                    "\r\n请在浏览器中输入这个地址打开网站。");
      return;
    }
  }
  Close();
}

}  // namespace ui
