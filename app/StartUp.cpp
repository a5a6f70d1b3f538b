// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-gettemppathw
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getshortpathnamew
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

namespace {

std::u16string Utf16(const std::wstring& wide) { return std::u16string(wide.begin(), wide.end()); }

// The program's GBK name for a folder: its own name, or its short one (pub::WorkingFolderName).
bool GbkFolderName(const std::wstring& folder, const ShortNameLookup& shortName, std::string* gbk) {
  return pub::WorkingFolderName(Utf16(folder), [&] { return Utf16(shortName(folder)); }, gbk);
}

// A folder the program cannot name: the folder as the system shows it, why, and what to do.
std::wstring UnnamableFolderMessage(const char* what, const std::wstring& folder, const char* remedy) {
  return tk::ToWide(std::string(what) + " \"") + folder +
         tk::ToWide(std::string("\" 的名称中含有安装程序无法处理的字符，而系统没有为这个文件夹提供可用的短文件名（8.3 格式）。") +
                    remedy);
}

}  // namespace

std::wstring SystemShortName(const std::wstring& folder) {
  std::wstring alias(32768, L'\0');
  DWORD length = GetShortPathNameW(folder.c_str(), &alias[0], static_cast<DWORD>(alias.size()));
  if (length == 0 || length >= alias.size()) return std::wstring();
  alias.resize(length);
  return alias;
}

bool FixWorkingFolders(const ShortNameLookup& shortName) {
  wchar_t temp[MAX_PATH + 2] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH + 1) {
    tk::ShowError("无法取得系统的临时文件夹，安装程序无法继续。请检查环境变量 TEMP 和 TMP 后重新运行本程序。");
    return false;
  }
  const std::wstring tempWide(temp, length);
  std::string tempFolder;
  if (!GbkFolderName(tempWide, shortName, &tempFolder)) {
    tk::ShowError(UnnamableFolderMessage("系统的临时文件夹", tempWide,
                                         "安装程序无法继续。请把环境变量 TEMP 和 TMP 设为名称中只有英文字母和数字的"
                                         "文件夹（例如 C:\\Temp）后重新运行本程序。"));
    return false;
  }
  if (tempFolder.back() != '\\') tempFolder += '\\';

  std::wstring executable(32768, L'\0');
  DWORD pathLength = GetModuleFileNameW(nullptr, &executable[0], static_cast<DWORD>(executable.size()));
  if (pathLength == 0 || pathLength >= executable.size()) {
    tk::ShowError("无法取得安装程序所在的路径，安装程序无法继续。");
    return false;
  }
  executable.resize(pathLength);
  // Cut in UTF-16, so that the program's own file name never decides how its folder is named.
  const size_t cut = executable.find_last_of(L"\\:");
  const std::wstring setupWide = cut == std::wstring::npos ? std::wstring() : executable.substr(0, cut + 1);
  std::string setupFolder;
  if (!GbkFolderName(setupWide, shortName, &setupFolder)) {
    tk::ShowError(UnnamableFolderMessage("安装程序所在的文件夹", setupWide,
                                         "请把 setup.exe 和 Setup.pak 一起移到名称中只有英文字母和数字的文件夹"
                                         "（例如 C:\\QuarnSetup）后重新运行本程序。"));
    return false;
  }

  pub::Process().StagingFolder = pub::StagingFolderFor(tempFolder);
  pub::Process().SetupFolder = setupFolder;
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
