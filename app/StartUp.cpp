// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-gettemppathw
#include "app/StartUp.h"

#include "app/SingleInstance.h"

#include <windows.h>

#include "common/portable/ProcessValues.h"
#include "common/portable/WorkingFolders.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Dialogs.h"
#include "ui/SelectPathForm.h"
#include "ui/SetupMainForm.h"
#include "ui/StartupPicForm.h"

namespace app {

bool FixWorkingFolders() {
  wchar_t temp[MAX_PATH + 2] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::string tempFolder;
  if (length == 0 || length > MAX_PATH + 1 || !tk::FromWideChecked(temp, &tempFolder) || tempFolder.empty()) {
    tk::ShowError("无法取得系统的临时文件夹，安装程序无法继续。请检查环境变量 TEMP 和 TMP 后重新运行本程序。");
    return false;
  }
  if (tempFolder.back() != '\\') tempFolder += '\\';

  std::wstring executable(32768, L'\0');
  DWORD pathLength = GetModuleFileNameW(nullptr, &executable[0], static_cast<DWORD>(executable.size()));
  executable.resize(pathLength);
  std::string executablePath;
  if (pathLength == 0 || !tk::FromWideChecked(executable, &executablePath)) {
    tk::ShowError("安装程序所在的路径中含有无法处理的字符，请把安装程序复制到其他文件夹后重新运行。");
    return false;
  }

  pub::Process().StagingFolder = pub::StagingFolderFor(tempFolder);
  pub::Process().SetupFolder = pub::SetupFolderFor(executablePath);
  return true;
}

void ShowSplash(tk::Application& application) {
  try {
    auto* splash = new ui::TFStartupPicForm(&application);
    splash->Show();
    UpdateWindow(splash->Handle());
    splash->Release();
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
  }
}

int RunSetup() {
  tk::Application application;
  application.Initialize();
  SingleInstance instance;
  if (!instance.IsFirst()) {
    tk::ShowPlain("Quarn软件安装系统已经在运行，请不要同时运行两个安装程序。");
    SingleInstance::ActivateRunningCopy();
    return 0;
  }
  if (!FixWorkingFolders()) return 1;
  ShowSplash(application);
  try {
    application.CreateForm<ui::TfSetupMainForm>();
    application.CreateForm<ui::TFSelectPath>();
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
    if (!application.MainForm()) return 1;  // no window to run
  }
  application.Run();
  return 0;
}

pub::ExitCode RunWindowedUninstall() {
  tk::Application application;
  application.Initialize();
  SingleInstance instance;
  if (!instance.IsFirst()) {
    tk::ShowPlain("Quarn软件安装系统已经在运行，请不要同时运行两个安装程序。");
    SingleInstance::ActivateRunningCopy();
    return pub::ExitCode::AlreadyRunning;
  }
  if (!FixWorkingFolders()) return pub::ExitCode::Failed;
  pub::Process().UninstallOnly = true;
  try {
    auto* form = application.CreateForm<ui::TfSetupMainForm>();
    form->Show();
    form->StartUninstallAlone();
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
    if (!application.MainForm()) return pub::ExitCode::Failed;
  }
  application.Run();
  return pub::Process().RemovalResult == 0 ? pub::ExitCode::Done : pub::ExitCode::Failed;
}

}  // namespace app
