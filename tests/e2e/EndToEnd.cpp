#include "tests/e2e/EndToEnd.h"

#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Screenshot.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {

const char* const kWelcomeTitle = "欢迎进入  Quarn系列软件  安装向导";
const char* const kAgreementTitle = "Quarn软件许可协议";
const char* const kFolderTitle = "选择安装路径";
const char* const kCopyingSubtitle = "复制所有文件到指定目录下......";
const char* const kFinalTitle = "安装成功!!!";
const char* const kChoiceTitle = "安装测试";
const char* const kAccept = "&A 我接受本协议条款";
const char* const kUninstallOption = "卸载Quarn系列软件         将现有版本完整删除";
const char* const kRepairOption = "修复安装Quarn系列软件。   在现有版本上安装原有内容，修复可能的问题";
const char* const kFreshOption = "全新安装Quarn系列软件。   删除现有版本，从新安装";
const char* const kSiteAddress = "http://localhost:8080";

const char* const kDefaultFolder = "c:\\quarn";
const char* const kOwnFolder = "C:\\quarne2e";

std::vector<std::string> ProductFolders() { return {"MySQL5", "eblog", "ecms", "eforum", "java", "tomcat5"}; }

std::string ThisProgramHolding(unsigned short port) {
  const unsigned long holder = ListeningProcess(port);
  if (holder == 0) return "未知程序";
  EXPECT_EQ(holder, GetCurrentProcessId()) << "port " << port << " is held by another process";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const wchar_t* name = wcsrchr(path, L'\\');
  return "程序 " + tk::FromWide(name ? name + 1 : path) + "（进程号 " + std::to_string(holder) + "）";
}

std::wstring EndToEnd::StagingFolder() { return TempFolder() + L"quarne\\"; }

void EndToEnd::SetUp() {
  // A JAVA_HOME that points into our folders is left from an interrupted run, not the machine's.
  std::wstring java;
  if (ReadSystemVariable(L"JAVA_HOME", &java))
    for (const char* folder : {kDefaultFolder, kOwnFolder})
      if (_wcsnicmp(java.c_str(), tk::ToWide(folder).c_str(), strlen(folder)) == 0)
        WriteSystemVariable(L"JAVA_HOME", nullptr);
  javaHome = std::make_unique<SavedSystemVariable>(L"JAVA_HOME");
  PutMachineInOrder();
  ASSERT_FALSE(PortInUse(8080)) << "something else listens on port 8080";
  setupFolder = std::make_unique<WorkFolder>(L"quarn-e2e");
  std::string problem;
  ASSERT_TRUE(PlaceSetup(setupFolder->Path(), &problem)) << problem;
  browser = std::make_unique<BrowserRecorder>(setupFolder->Path() + L"opened.txt");
}

void EndToEnd::TearDown() {
  PutMachineInOrder();
  browser.reset();
  setupFolder.reset();
  EXPECT_FALSE(PortInUse(8080)) << "port 8080 is still in use after the test";
}

void EndToEnd::PutMachineInOrder() {
  for (auto& process : processes_) process->End();
  processes_.clear();
  RemoveService(L"mysqlquarn");
  RemoveService(L"tomcatquarn");
  RemoveInstallRecord();
  for (const char* folder : {kDefaultFolder, kOwnFolder}) DeleteTree(tk::ToWide(folder));
  DeleteTree(StagingFolder());
  if (javaHome) javaHome->Restore();
  WaitUntil([] { return !PortInUse(8080); });
}

SetupProcess& EndToEnd::Start() { return StartFrom(setupFolder->Path()); }

SetupProcess& EndToEnd::StartFrom(const std::wstring& folder, const std::wstring& tempFolder) {
  return StartWith(folder, L"setup.exe", L"", tempFolder);
}

SetupProcess& EndToEnd::StartWith(const std::wstring& folder, const std::wstring& program,
                                  const std::wstring& arguments, const std::wstring& tempFolder) {
  processes_.push_back(std::make_unique<SetupProcess>(folder, program, arguments, tempFolder));
  EXPECT_TRUE(processes_.back()->Started()) << "setup.exe did not start from " << tk::WideToUtf8(folder);
  return *processes_.back();
}

SetupProcess& EndToEnd::StartWith(const std::wstring& folder, const std::wstring& program,
                                  const std::wstring& arguments, const EnvironmentChanges& environment) {
  processes_.push_back(std::make_unique<SetupProcess>(folder, program, arguments, environment));
  EXPECT_TRUE(processes_.back()->Started()) << tk::WideToUtf8(program) << " did not start from " << tk::WideToUtf8(folder);
  return *processes_.back();
}

MessageBoxView EndToEnd::ExpectBox(const SetupProcess& process, const std::string& text,
                                   const std::vector<std::string>& buttons) {
  MessageBoxView box;
  EXPECT_TRUE(WaitForMessageBox(process.Id(), &box, kWindowWait)) << "no box: " << Readable(text);
  EXPECT_EQ(Readable(box.text), Readable(text));
  EXPECT_EQ(Readable(box.buttons), Readable(buttons));
  return box;
}

void EndToEnd::ExpectPage(const Wizard& wizard, const std::string& label, unsigned timeoutMs) {
  ASSERT_TRUE(wizard.WaitForLabel(label, timeoutMs))
      << "page with " << Readable(label) << " not shown; labels: " << Readable(wizard.Labels());
  // Answered only once the wizard's thread is back in its message loop: the step is done.
  DWORD_PTR ignored;
  SendMessageTimeoutW(wizard.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWindowWait, &ignored);
}

void EndToEnd::AcceptAgreement(const Wizard& wizard) {
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kAgreementTitle));
  wizard.Choose(kAccept);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(wizard.NextButton()); }));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
}

void EndToEnd::WalkToFolderPage(const Wizard& wizard) {
  ASSERT_TRUE(wizard.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(AcceptAgreement(wizard));
}

void EndToEnd::WalkToRepairFolderPage(const Wizard& wizard) {
  ASSERT_TRUE(wizard.Found());
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kChoiceTitle));
  wizard.Choose(kRepairOption);
  ASSERT_TRUE(WaitUntil([&] { return wizard.Chosen(kRepairOption); }));
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(AcceptAgreement(wizard));
}

void EndToEnd::FinishFromFolderPage(SetupProcess& setup, const Wizard& wizard) {
  wizard.Next();
  ASSERT_TRUE(WaitForRunEnd(setup, wizard, "完成")) << "the install run did not finish; " << Situation(setup, wizard);
  wizard.Next();
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFinalTitle));
  ASSERT_TRUE(wizard.WaitForNext("退出"));
  wizard.Next();
  ASSERT_TRUE(setup.WaitForExit()) << "the finish action did not end the program";
}

void EndToEnd::InstallThroughWizard(const std::string& folder) { InstallThroughWizard(Start(), folder); }

void EndToEnd::InstallThroughWizard(SetupProcess& setup, const std::string& folder) {
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard, folder));
  ASSERT_NO_FATAL_FAILURE(FinishFromFolderPage(setup, wizard));
}

void EndToEnd::WalkToFolderPage(const Wizard& wizard, const std::string& folder) {
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard));
  if (wizard.Folder() == folder) return;
  wizard.TypeFolder(folder);
  ASSERT_TRUE(WaitUntil([&] { return wizard.Folder() == folder; }));
}

bool EndToEnd::WaitForRunEnd(const SetupProcess& process, const Wizard& wizard, const std::string& caption) {
  bool interrupted = false;
  WaitUntil(
      [&] {
        interrupted = !OpenMessageBoxes(process.Id()).empty();
        return interrupted || (wizard.NextCaption() == caption && IsEnabled(wizard.NextButton()));
      },
      kRunWait);
  return !interrupted && wizard.NextCaption() == caption && IsEnabled(wizard.NextButton());
}

std::string EndToEnd::Situation(const SetupProcess& process, const Wizard& wizard) {
  std::string text = "labels " + Readable(wizard.Labels());
  for (const MessageBoxView& box : OpenMessageBoxes(process.Id()))
    text += "; box \"" + Readable(box.title) + "\": " + Readable(box.text);
  return text;
}

void EndToEnd::Shot(const Wizard& wizard, const char* name) {
  std::wstring folder = ShotFolder();
  if (folder.empty()) return;
  std::wstring file = folder + L"\\" + tk::Utf8ToWide(name) + L".bmp";
  EXPECT_TRUE(SaveWindowShot(wizard.Window(), file)) << "cannot save " << tk::WideToUtf8(file);
}

}  // namespace e2e
