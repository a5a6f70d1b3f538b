// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-gettemppathw
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getshortpathnamew
#include "app/StartUp.h"

#include "app/SingleInstance.h"

#include <windows.h>

#include <optional>

#include "common/portable/ProcessValues.h"
#include "common/portable/WorkingFolders.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Dialogs.h"
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

WorkingFolders FindWorkingFolders(const ShortNameLookup& shortName) {
  WorkingFolders found;
  wchar_t temp[MAX_PATH + 2] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH + 1) {
    found.problem = tk::ToWide("无法取得系统的临时文件夹，安装程序无法继续。请检查环境变量 TEMP 和 TMP 后重新运行本程序。");
    return found;
  }
  const std::wstring tempWide(temp, length);
  std::string tempFolder;
  if (!GbkFolderName(tempWide, shortName, &tempFolder)) {
    found.problem = UnnamableFolderMessage("系统的临时文件夹", tempWide,
                                           "安装程序无法继续。请把环境变量 TEMP 和 TMP 设为名称中只有英文字母和数字的"
                                           "文件夹（例如 C:\\Temp）后重新运行本程序。");
    return found;
  }
  if (tempFolder.back() != '\\') tempFolder += '\\';

  std::wstring executable(32768, L'\0');
  DWORD pathLength = GetModuleFileNameW(nullptr, &executable[0], static_cast<DWORD>(executable.size()));
  if (pathLength == 0 || pathLength >= executable.size()) {
    found.problem = tk::ToWide("无法取得安装程序所在的路径，安装程序无法继续。");
    return found;
  }
  executable.resize(pathLength);
  // Cut in UTF-16, so that the program's own file name never decides how its folder is named.
  const size_t cut = executable.find_last_of(L"\\:");
  const std::wstring setupWide = cut == std::wstring::npos ? std::wstring() : executable.substr(0, cut + 1);
  std::string setupFolder;
  if (!GbkFolderName(setupWide, shortName, &setupFolder)) {
    found.problem = UnnamableFolderMessage("安装程序所在的文件夹", setupWide,
                                           "请把 setup.exe 和 Setup.pak 一起移到名称中只有英文字母和数字的文件夹"
                                           "（例如 C:\\QuarnSetup）后重新运行本程序。");
    return found;
  }
  found.stagingFolder = pub::StagingFolderFor(tempFolder);
  found.setupFolder = setupFolder;
  return found;
}

std::wstring SettleWorkingFolders(const ShortNameLookup& shortName) {
  const WorkingFolders found = FindWorkingFolders(shortName);
  if (!found.problem.empty()) return found.problem;
  pub::Process().StagingFolder = found.stagingFolder;
  pub::Process().SetupFolder = found.setupFolder;
  return std::wstring();
}

setup::RunFolders SettledFolders() {
  const pub::ProcessValues& process = pub::Process();
  return {process.SetupFolder, process.StagingFolder, process.LogPath};
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

namespace {

// What both windowed runs do first: the toolkit, the one-copy rule, the working folders. Returns
// the exit code to end with when the program must stop here.
std::optional<pub::ExitCode> StartWindowed(tk::Application& application, const SingleInstance& instance,
                                           pub::ExitCode whenAlreadyRunning) {
  application.Initialize();
  if (!instance.IsFirst()) {
    tk::ShowPlain("Quarn软件安装系统已经在运行，请不要同时运行两个安装程序。");
    SingleInstance::ActivateRunningCopy();
    return whenAlreadyRunning;
  }
  const std::wstring problem = SettleWorkingFolders();
  if (problem.empty()) return std::nullopt;
  tk::ShowError(problem);
  return pub::ExitCode::Failed;
}

}  // namespace

pub::ExitCode RunSetup() {
  tk::Application application;
  SingleInstance instance;
  // A second wizard brings the first one forward; whoever started it learns that it did nothing.
  if (std::optional<pub::ExitCode> early = StartWindowed(application, instance, pub::ExitCode::AlreadyRunning))
    return *early;
  ShowSplash(application);
  ui::TfSetupMainForm* form = nullptr;
  try {
    form = application.CreateForm<ui::TfSetupMainForm>(SettledFolders());
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
    if (!application.MainForm()) return pub::ExitCode::Failed;  // no window to run
  }
  application.Run();
  return form ? form->ProgramExitCode() : pub::ExitCode::Failed;
}

pub::ExitCode RunWindowedUninstall() {
  tk::Application application;
  SingleInstance instance;
  if (std::optional<pub::ExitCode> early = StartWindowed(application, instance, pub::ExitCode::AlreadyRunning))
    return *early;
  ui::TfSetupMainForm* form = nullptr;
  try {
    form = application.CreateForm<ui::TfSetupMainForm>(SettledFolders(), /*uninstallerAlone=*/true);
    form->Show();
    form->StartUninstallAlone();
  } catch (const std::exception& error) {
    tk::Application::HandleException(error);
    if (!application.MainForm()) return pub::ExitCode::Failed;
  }
  application.Run();
  return form ? form->ProgramExitCode() : pub::ExitCode::Failed;
}

}  // namespace app
