// The wizard around its runs: what the copying, final and uninstall pages show when a run ends,
// what a press does meanwhile, and how the window reads the record it starts from.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "setup/portable/RecordState.h"
#include "common/win/WorkerRun.h"
#include "pak/Pak.h"
#include "setup/win/InstallRecordKeys.h"
#include "tests/win/support/EngineFixture.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"
#include "toolkit/win/Registry.h"

using namespace testing_support;

namespace {

class WizardRun : public WizardFixture {
 protected:
  ui::TfSetupMainForm* CreateWizardWith(const std::vector<PackageFile>& files) {
    return CreateWizard(true, BuildPackage(files));
  }
  // From the welcome page through the agreement to the copying page, which runs the install.
  void WalkToTheCopyingPage() {
    Press(form->NextBtn);
    Press(form->RadioButton2);
    Press(form->NextBtn);
    Press(form->NextBtn);
  }
  // A whole run into target, logged to run.log of the test's folder, up to "完成".
  void InstallLoggedInto(const std::string& target) {
    folders.logPath = tk::ToWide(folder.Path() + "run.log");
    CreateWizardWith(BundleFiles(false, false));
    form->Edit1->SetText(target);
    WalkToTheCopyingPage();
    ASSERT_EQ(form->NextBtn->Caption(), "完成");
  }
  static std::string ReadFile(const std::string& path) { return EngineFixture::ReadFile(path); }
  static bool Exists(const std::string& path) { return EngineFixture::Exists(path); }
  static void MakeFolders(const std::string& path) { EngineFixture::MakeFolders(path); }
  static void WriteFile(const std::string& path, const std::string& text) { EngineFixture::WriteFile(path, text); }

  MachineStateGuard machine;
};

bool ServiceExists(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, name, SERVICE_QUERY_STATUS) : nullptr;
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return service != nullptr;
}

}  // namespace

TEST_F(WizardRun, ACompletedRunShowsItsSuccessAndOnlyFinishLeadsOn) {
  const std::string target = folder.Path() + "web";
  const std::vector<PackageFile> shipped = BundleFiles(true, true);
  CreateWizardWith(shipped);
  form->Edit1->SetText(target + "\\");
  WalkToTheCopyingPage();
  ASSERT_EQ(form->Label17->Caption(), "安装成功!") << (boxes.Boxes().empty() ? "" : boxes.Boxes()[0].text);
  EXPECT_EQ(form->Edit1->Text(), target) << "one trailing backslash is cut";
  EXPECT_EQ(form->NextBtn->Caption(), "完成");
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_FALSE(form->CloseBtn->Enabled());
  EXPECT_FALSE(form->FindControl("Label16")->Visible());
  EXPECT_EQ(form->Gauge1->Progress(), form->Gauge1->MaxValue());
  EXPECT_EQ(form->Gauge1->MaxValue(), 2 * static_cast<int>(shipped.size()));
  EXPECT_EQ(form->ProductList->Count(), 6);
  EXPECT_TRUE(form->ProductList->Checked(5));
  EXPECT_EQ(form->Label23->Caption().rfind("本次安装包版本为：V2.0.0 制作日期：", 0), 0u);
  EXPECT_TRUE(boxes.Boxes().empty());
}

namespace {

// Through Next to the copying page with a file of the install folder held open; the run fails.
class FailedWizardRun : public WizardRun {
 protected:
  void RunIntoAHeldFile() {
    target = folder.Path() + "web";
    MakeFolders(target + "\\eblog");
    WriteFile(target + "\\eblog\\index.html", "old");
    CreateWizardWith(BundleFiles(false, false));
    form->Edit1->SetText(target);
    holder = std::make_unique<tk::TFileStream>(target + "\\eblog\\index.html", tk::FileMode::OpenReadWrite);
    WalkToTheCopyingPage();
  }
  std::string target;
  std::unique_ptr<tk::TFileStream> holder;
};

}  // namespace

TEST_F(FailedWizardRun, ShowsItsReasonAndNeverLeadsToTheSuccessPage) {
  RunIntoAHeldFile();
  EXPECT_EQ(VisiblePages(), "FullInstallPage_2");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("eblog\\index.html"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_EQ(form->Label17->Caption(), "安装没有完成。");
  EXPECT_NE(form->Memo3->Line(form->Memo3->LineCount() - 1).find("安装失败："), std::string::npos);
  EXPECT_FALSE(form->NextBtn->Enabled()) << "no way onto the final page";
  EXPECT_EQ(form->NextBtn->Caption(), "下一步");
  EXPECT_TRUE(form->UpBtn->Enabled());
  EXPECT_TRUE(form->CloseBtn->Enabled());
}

TEST_F(FailedWizardRun, BackAndNextRunAgainAndCanSucceed) {
  RunIntoAHeldFile();
  holder.reset();  // the other program lets go
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
  Press(form->NextBtn);
  EXPECT_EQ(form->Label17->Caption(), "安装成功!") << "the package is staged again";
  EXPECT_EQ(ReadFile(target + "\\eblog\\index.html"), "<h1>blog</h1>\r\n");
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
}

TEST_F(WizardRun, ACloseDuringTheRunWaitsForItsEndThenDeletesTheStagingFolder) {
  std::string target = folder.Path() + "web";
  CreateWizardWith(BundleFiles(false, false));
  form->Edit1->SetText(target);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  // The title-bar close arrives while the run lets messages through.
  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  Press(form->NextBtn);
  EXPECT_EQ(form->Label17->Caption(), "安装成功!") << "the run went on to its end";
  EXPECT_TRUE(Exists(target + "\\eblog\\index.html"));
  EXPECT_TRUE(application.Terminated()) << "and the window closed after it";
  EXPECT_FALSE(Exists(folders.stagingFolder));
}

namespace {

// The small bundle and some hundreds of pages more, so that staging lasts a while.
std::vector<PackageFile> LongerBundle() {
  std::vector<PackageFile> files = BundleFiles(false, false);
  for (int i = 0; i < 600; ++i) files.push_back({"ecms/pages/p" + std::to_string(1000 + i) + ".html", "<p>page</p>\r\n"});
  return files;
}

// The memo's line for each entry of the package, in the package's order.
std::vector<std::string> EntryLinesOf(const std::string& package) {
  pak::TkexPak archive(nullptr, package, pak::OpenFor::Reading);
  std::vector<std::string> lines;
  for (int32_t i = 0; i < archive.Directory->Count(); ++i) {
    std::string name = archive.Directory->Item(i).NameText();
    for (char& c : name)
      if (c == '/') c = '\\';
    lines.push_back("..\\" + name);
  }
  return lines;
}

}  // namespace

TEST_F(WizardRun, ACloseDuringStagingLetsTheRunEndShowingEveryEntryInOrderThenLeavesNoWorkerNorStagingFolder) {
  const std::string target = folder.Path() + "web";
  CreateWizardWith(LongerBundle());
  form->Edit1->SetText(target);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  // The title-bar close, sent from another thread as soon as staging has written its first
  // folder, while the run's worker is at work and the window's thread handles messages.
  const std::string firstStaged = folders.stagingFolder + "MySQL5";
  std::atomic<bool> closeSent{false};
  std::thread closer([&] {
    for (int tries = 0; tries < 60000 && !Exists(firstStaged); ++tries) Sleep(1);
    closeSent = PostMessageW(form->Handle(), WM_CLOSE, 0, 0) != 0;
  });
  Press(form->NextBtn);
  closer.join();
  ASSERT_TRUE(closeSent);
  EXPECT_EQ(form->Label17->Caption(), "安装成功!") << "the run went on to its end";
  EXPECT_TRUE(Exists(target + "\\ecms\\pages\\p1599.html"));
  std::vector<std::string> shown;
  for (int i = 0; i < form->Memo3->LineCount(); ++i)
    if (form->Memo3->Line(i).rfind("..\\", 0) == 0) shown.push_back(form->Memo3->Line(i));
  EXPECT_EQ(shown, EntryLinesOf(folders.setupFolder + "Setup.pak")) << "every entry, in the package's order";
  EXPECT_EQ(form->Gauge1->Progress(), form->Gauge1->MaxValue());
  EXPECT_TRUE(application.Terminated()) << "the window closed after the run";
  EXPECT_FALSE(Exists(folders.stagingFolder));
  const int workers = testing_support::ThreadsNamed(pub::kWorkerThreadName);
  if (workers >= 0) {
    EXPECT_EQ(workers, 0) << "no worker is left behind";
  }
}

// The installed tool by its full path: the test programs' folder, where this program runs, also
// holds a mysqld-nt.exe, which a bare name would find.
TEST_F(WizardRun, TheFinalPageRegistersTheDatabaseServiceWithTheInstalledToolOnArrival) {
  const std::string target = folder.Path() + "web";
  ASSERT_NO_FATAL_FAILURE(InstallLoggedInto(target));
  EngineFixture::DeleteService(L"mysqlquarn");
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  EXPECT_EQ(form->Label19->Caption(), "您已经成功将Quarn软件及其需要的基础软件环境安装在了你的 " + target + " 目录下!");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_FALSE(form->CloseBtn->Enabled());
  EXPECT_TRUE(ServiceExists(L"mysqlquarn")) << "mysqld-nt --install mysqlquarn ran";
  EXPECT_TRUE(boxes.Boxes().empty());
  const std::string log = tk::FromWide(tk::Utf8ToWide(ReadFile(folder.Path() + "run.log")));
  EXPECT_NE(log.find("\"" + target + "\\MySQL5\\bin\\mysqld-nt.exe\" --install mysqlquarn：退出码 0"), std::string::npos)
      << log;
}

// Registered already, as after every install run: the tool's complaint is the expected answer.
// Not registered afterwards: a box says so, and the page stays usable.
TEST_F(WizardRun, TheFinalPagesRegistrationJudgesByTheServiceNotByTheToolsAnswer) {
  const std::string target = folder.Path() + "web";
  ASSERT_NO_FATAL_FAILURE(InstallLoggedInto(target));
  Press(form->NextBtn);
  EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
  const std::string log = tk::FromWide(tk::Utf8ToWide(ReadFile(folder.Path() + "run.log")));
  EXPECT_NE(log.find("（服务已经注册）"), std::string::npos) << log;

  EngineFixture::DeleteService(L"mysqlquarn");
  // The stopped service's process lets go of its program a moment after the stop.
  const std::wstring tool = tk::ToWide(target + "\\MySQL5\\bin\\mysqld-nt.exe");
  bool deleted = false;
  for (int attempt = 0; attempt < 100 && !(deleted = DeleteFileW(tool.c_str())); ++attempt) Sleep(100);
  ASSERT_TRUE(deleted);
  form->RegisterDatabaseAgain();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("mysqlquarn"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_FALSE(application.Terminated());
}

TEST_F(WizardRun, BackOntoTheFinalPageRunsNothing) {
  // After the uninstall choice, Back from the uninstall page shows the final page.
  std::string install = folder.Path() + "recorded";
  MakeFolders(install + "\\eblog");
  WriteRecord(install, {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->NextBtn);  // the uninstall choice is preselected; the recorder answers yes
  ASSERT_EQ(VisiblePages(), "UninstallPage");
  EXPECT_EQ(form->Label37->Caption(), "Quarn系统卸载成功!");
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_FALSE(ServiceExists(L"mysqlquarn")) << "Back runs nothing";
}

TEST_F(WizardRun, ARemovalThatLeavesAFolderSaysSoOnThePageAndInABox) {
  std::string install = folder.Path() + "recorded";
  MakeFolders(install + "\\eblog");
  WriteFile(install + "\\eblog\\index.html", "x");
  WriteRecord(install, {"eblog"});
  CreateWizard(true);
  {
    tk::TFileStream holder(install + "\\eblog\\index.html", tk::FileMode::OpenReadWrite);
    Press(form->NextBtn);
    Press(form->NextBtn);  // the uninstall choice; the recorder answers yes
  }
  EXPECT_EQ(form->Label37->Caption(), "Quarn系统没有完全卸载，有文件夹无法删除。");
  ASSERT_EQ(boxes.Boxes().size(), 2u);  // the question, then what stays
  EXPECT_EQ(boxes.Boxes()[1].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[1].text.find(install + "\\eblog"), std::string::npos) << boxes.Boxes()[1].text;
  EXPECT_TRUE(KeyExists(setup::kVersionKey));
}

// The recorded folder was deleted by hand, or never held this installation: nothing is done,
// the page and a box say why, and the record stays.
TEST_F(WizardRun, ARemovalOfAFolderThatIsNotThisInstallationIsRefusedOnThePageAndInABox) {
  const std::string gone = folder.Path() + "gone";
  WriteRecord(gone, {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->NextBtn);  // the uninstall choice; the recorder answers yes
  EXPECT_EQ(form->Label37->Caption(), "Quarn系统没有卸载。");
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[1].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[1].text.find(gone), std::string::npos) << boxes.Boxes()[1].text;
  EXPECT_TRUE(KeyExists(setup::kVersionKey));
  EXPECT_EQ(form->ProgramExitCode(), pub::ExitCode::BadCommandLine);
}

// The box says what was wrong with the record, then what became of it.
TEST_F(WizardRun, ARecordWithoutAUsableFolderSaysWhyAndThatNothingWasRemoved) {
  WriteRecord("quarn", {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->NextBtn);
  EXPECT_EQ(form->Label37->Caption(), setup::kNoUsableFolderText);
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  const std::string& text = boxes.Boxes()[1].text;
  EXPECT_NE(text.find("installpath（安装目录）“quarn”不是可用的文件夹路径"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - std::string(setup::kNoUsableFolderText).size()), setup::kNoUsableFolderText);
}

namespace {

class WizardReadsTheRecord : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
  }
  tk::TRegistry registry;
};

}  // namespace

// A version key without installpath, as a run of an earlier version stopped between its
// first writes leaves: detected, but damaged, with no repair offered and no folder guessed.
TEST_F(WizardReadsTheRecord, AVersionKeyWithoutItsFolderIsDetectedAsDamaged) {
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, true));
  registry.WriteString("ver", "1.5");
  registry.CloseKey();
  CreateWizard(true);
  EXPECT_EQ(form->PageCount(), 7);
  EXPECT_EQ(form->Label32->Caption(), "1.5");
  EXPECT_EQ(form->Label33->Caption(), pub::kDamagedRecordChoiceText);
  EXPECT_FALSE(form->RadioButton4->Enabled()) << "repair is offered";
  EXPECT_TRUE(form->RadioButton3->Enabled());
  EXPECT_TRUE(form->RadioButton5->Enabled());
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn") << "a fresh install starts from the default, in an open box";
  EXPECT_EQ(form->Label39->Caption(), "安装记录中缺少 installpath（安装目录）。") << "the page says what is wrong";
}

TEST_F(WizardReadsTheRecord, AWholeRecordOffersItsRepair) {
  WriteRecord("d:\\web", {"A"});
  CreateWizard(true);
  EXPECT_EQ(form->Label33->Caption(), "您可以选择如下操作方式：");
  EXPECT_TRUE(form->RadioButton4->Enabled());
  EXPECT_EQ(form->Edit1->Text(), "d:\\web");
  EXPECT_EQ(form->Label39->Caption(), "");
}

// The installation is where installpath says: a version of another type is unknown, not damage.
TEST_F(WizardReadsTheRecord, AVersionOfAnotherTypeIsShownAsUnknownAndTheRepairStaysOffered) {
  WriteRecord("d:\\web", {"A"});
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, false));
  registry.WriteInteger("ver", 2);
  registry.CloseKey();
  CreateWizard(true);
  EXPECT_EQ(form->Label32->Caption(), "未知");
  EXPECT_NE(form->Label39->Caption().find("ver（版本号）是 REG_DWORD 类型的值"), std::string::npos)
      << form->Label39->Caption();
  EXPECT_EQ(form->Label33->Caption(), "您可以选择如下操作方式：");
  EXPECT_TRUE(form->RadioButton4->Enabled());
}

TEST_F(WizardReadsTheRecord, WithoutTheVersionKeyNothingIsDetected) {
  ASSERT_TRUE(registry.OpenKey(setup::kProductKey, true));
  registry.WriteInteger("eforum", 1);
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey(setup::kUninstallKey, true));
  registry.CloseKey();
  CreateWizard(true);
  EXPECT_EQ(form->PageCount(), 5);
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn");
}
