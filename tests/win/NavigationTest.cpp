// The wizard's handlers, in-process on a real wizard window.
#include <gtest/gtest.h>

#include "common/portable/InstallFolderRule.h"
#include "tests/win/support/PackageBuilder.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"
#include "setup/win/InstallRecordKeys.h"
#include "ui/SelectPathForm.h"

using namespace testing_support;

namespace {

class Navigation : public WizardFixture {};

std::string CurrentDirectory() {
  wchar_t folder[MAX_PATH + 1];
  GetCurrentDirectoryW(MAX_PATH + 1, folder);
  return tk::FromWide(folder);
}

}  // namespace

TEST_F(Navigation, BackOnTheAgreementPageReturnsToWelcomeAndDisablesBack) {
  CreateWizard(true);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  EXPECT_TRUE(form->UpBtn->Enabled());
  EXPECT_FALSE(form->NextBtn->Enabled()) << "the refusal is selected at first";
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "WelcomePage");
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_TRUE(form->NextBtn->Enabled());
}

TEST_F(Navigation, TheAgreementChoiceSurvivesBackAndForward) {
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  EXPECT_TRUE(form->NextBtn->Enabled());
  Press(form->UpBtn);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  EXPECT_TRUE(form->NextBtn->Enabled());
  Press(form->RadioButton1);
  EXPECT_FALSE(form->NextBtn->Enabled());
  Press(form->RadioButton2);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
  EXPECT_EQ(form->NextBtn->Caption(), "下一步");
}

TEST_F(Navigation, TheFolderCheckReportsTheFirstFaultOnly) {
  CreateWizard(true);
  form->Edit1->SetText("c:\\my dir");
  form->Edit1Exit();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Plain);
  EXPECT_EQ(boxes.Boxes()[0].text, "您建立的目录中包含空格，系统自动过滤了空格，请确认");
  EXPECT_EQ(form->Edit1->Text(), "c:\\mydir");

  form->Edit1->SetText("c:\\安装 x");
  form->Edit1Exit();
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[1].text, "您建立的目录名称中包含汉字等字符，请从新输入");
  EXPECT_EQ(form->Edit1->Text(), "c:\\安装 x");

  for (const char* passes : {"c:\\a\x80z", "", "d:\\web"}) {
    form->Edit1->SetText(passes);
    form->Edit1Exit();
  }
  EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(Navigation, LeavingTheFolderBoxKeepsANameGbkCannotHoldAsTyped) {
  CreateWizard(true);
  // The blank would be stripped by rewriting the box from its GBK text: the Hangul with it.
  const std::wstring typed = L"c:\\퀀 설치";
  form->Edit1->SetWideText(typed);
  form->Edit1Exit();
  EXPECT_TRUE(boxes.Boxes().empty());
  wchar_t shown[MAX_PATH] = {};
  GetWindowTextW(form->Edit1->Handle(), shown, MAX_PATH);
  EXPECT_TRUE(shown == typed);
}

// The browser the shell starts may run for days: it must not start in a folder a later
// removal deletes, nor may this program move into one.
TEST_F(Navigation, TheFinishActionOpensTheSiteOutsideTheInstallFolderAndCloses) {
  CreateWizard(true);
  std::string install = folder.Path() + "site";
  CreateDirectoryW(tk::ToWide(install).c_str(), nullptr);
  CreateDirectoryW(tk::ToWide(install + "\\tomcat5").c_str(), nullptr);
  const std::string before = CurrentDirectory();
  form->Edit1->SetText(install + "\\");
  form->Edit1Exit();  // leaving the box hands its text to the wizard model
  form->FinishAction();
  EXPECT_EQ(CurrentDirectory(), before);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "http://localhost:8080");
  wchar_t system[MAX_PATH + 1] = {};
  GetSystemDirectoryW(system, MAX_PATH + 1);
  EXPECT_TRUE(openedIn == system) << tk::FromWide(openedIn);
  EXPECT_TRUE(application.Terminated());
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Navigation, AFinishActionWithoutASiteOnlyCloses) {
  CreateWizard(true);
  form->Edit1->SetText(folder.Path() + "gone");
  form->Edit1Exit();
  form->FinishAction();
  EXPECT_TRUE(opened.empty()) << "no site was installed";
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(application.Terminated());
}

TEST_F(Navigation, AFinishActionTheShellCannotCompleteSaysWhyAndStays) {
  CreateWizard(true);
  std::string install = folder.Path() + "site";
  CreateDirectoryW(tk::ToWide(install).c_str(), nullptr);
  CreateDirectoryW(tk::ToWide(install + "\\tomcat5").c_str(), nullptr);
  form->Edit1->SetText(install);
  form->Edit1Exit();
  shellFailure = "没有与之关联的应用程序。";
  form->FinishAction();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("http://localhost:8080"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_NE(boxes.Boxes()[0].text.find(shellFailure), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_FALSE(application.Terminated()) << "the page stays, and Next with it";
}

TEST_F(Navigation, OnlyAnAbsoluteFolderOnADriveReachesTheCopyingPage) {
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  for (const char* refused : {"", "quarn", "\\quarn", "c:", "c:\\", "c:quarn", "\\\\server\\share\\q", "c:\\a|b",
                              "c:\\..", "c:\\q\\..\\.."}) {
    SCOPED_TRACE(refused);
    size_t before = boxes.Boxes().size();
    form->Edit1->SetText(refused);
    Press(form->NextBtn);
    EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
    ASSERT_EQ(boxes.Boxes().size(), before + 1);
    EXPECT_EQ(boxes.Boxes().back().kind, tk::MessageKind::Error);
  }
  EXPECT_EQ(boxes.Boxes()[0].text, "请输入Quarn软件的安装目录。");
}

TEST_F(Navigation, AFolderNameGbkCannotHoldIsRefusedAtNextNotTurnedToQuestionMarks) {
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  const std::wstring refused[] = {L"C:\\퀀 설치", L"C:\\quarn\\😀", L"D:\\下载\\다운로드"};
  for (const std::wstring& typed : refused) {
    size_t before = boxes.Boxes().size();
    form->Edit1->SetWideText(typed);
    Press(form->NextBtn);
    EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
    ASSERT_EQ(boxes.Boxes().size(), before + 1);
    EXPECT_EQ(boxes.Boxes().back().kind, tk::MessageKind::Error);
    EXPECT_EQ(boxes.Boxes().back().text, pub::kInstallFolderNotGbk);
    EXPECT_FALSE(tk::FolderExists(typed));
  }
  // A typed '?' is still what Windows forbids, told as such.
  form->Edit1->SetText("C:\\a?b");
  Press(form->NextBtn);
  EXPECT_NE(boxes.Boxes().back().text, pub::kInstallFolderNotGbk);
}

TEST_F(Navigation, AStagingFailureIsShownAndLeavesBackAndExit) {
  CreateWizard(true, BuildPackage({{"eblog/index.html", "blog"}}));
  form->Edit1->SetText(folder.Path() + "target");
  {
    // Another holder keeps Setup.pak open unshared, so staging cannot open it.
    tk::TFileStream holder(folder.Path() + "Setup.pak", tk::FileMode::OpenReadWrite);
    Press(form->NextBtn);
    Press(form->RadioButton2);
    Press(form->NextBtn);
    Press(form->NextBtn);
  }
  EXPECT_EQ(VisiblePages(), "FullInstallPage_2");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text.rfind(std::string("系统安装包损坏， Setup.pak文件不可使用，请检查，或进入") +
                                            setup::kMakerSite + "从新下载",
                                        0),
            0u)
      << boxes.Boxes()[0].text;
  EXPECT_FALSE(form->NextBtn->Enabled());
  EXPECT_TRUE(form->UpBtn->Enabled());
  EXPECT_TRUE(form->CloseBtn->Enabled());
  // The holder is gone: back to the folder page and on, and the package stages this time.
  Press(form->UpBtn);
  Press(form->NextBtn);
  EXPECT_EQ(form->NextBtn->Caption(), "完成") << boxes.Boxes().back().text;
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(Navigation, APackageGoneBeforeStagingIsReportedAsMissing) {
  CreateWizard(true);
  form->Edit1->SetText(folder.Path() + "target");
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  ASSERT_TRUE(DeleteFileW(tk::ToWide(folder.Path() + "Setup.pak").c_str()));
  Press(form->NextBtn);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text.rfind("系统安装包损坏，无法找到 Setup.pak文件", 0), 0u) << boxes.Boxes()[0].text;
  EXPECT_EQ(GetFileAttributesW(tk::ToWide(folder.Path() + "Setup.pak").c_str()), INVALID_FILE_ATTRIBUTES)
      << "no package is made up";
  EXPECT_FALSE(KeyExists(setup::kVersionKey)) << "nothing installed, nothing recorded";
  EXPECT_NE(form->Label17->Caption(), "安装成功!");
}

TEST_F(Navigation, ExitAsksFirstAndCloses) {
  CreateWizard(true);
  boxes.Script({tk::MessageAnswer::No});
  Press(form->CloseBtn);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Warning);
  EXPECT_EQ(boxes.Boxes()[0].text, "安装程序未完成,您确认要退出?");
  EXPECT_FALSE(application.Terminated());
  Press(form->CloseBtn);  // any answer but No closes
  EXPECT_TRUE(application.Terminated());
}

TEST_F(Navigation, TheChoicePageShowsTheRecordedVersionAndThePackagesOwn) {
  WriteRecord(folder.Path() + "recorded", {});
  CreateWizard(true, testing_support::BuildPackage({{"eblog/index.html", "<h1>blog</h1>"}}, "2.1.0"));
  EXPECT_EQ(form->Label32->Caption(), "1.9.0");
  EXPECT_EQ(form->Label38->Caption(), "本安装包的版本号为：2.1.0") << "a repair with it is an upgrade";
}

TEST_F(Navigation, AfterTheRepairChoiceTheFolderStaysFixed) {
  std::string install = folder.Path() + "recorded";
  WriteRecord(install, {});
  CreateWizard(true);
  EXPECT_EQ(form->PageCount(), 7);
  EXPECT_EQ(form->Label32->Caption(), "1.9.0");
  EXPECT_EQ(form->Edit1->Text(), install);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  Press(form->RadioButton4);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  EXPECT_FALSE(form->Edit1->Enabled());
  EXPECT_FALSE(form->SpeedButton1->Enabled());
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  Press(form->RadioButton3);
  EXPECT_FALSE(form->Edit1->Enabled());
  EXPECT_FALSE(form->SpeedButton1->Enabled());
}

// A record without a usable folder is damaged: no repair into a guessed folder. A fresh
// install forgets the record (nothing can be removed from no folder) and starts from the
// default, in an open box.
TEST_F(Navigation, ADamagedRecordOffersNoRepairAndAFreshInstallStartsFromTheDefault) {
  WriteRecord("", {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  EXPECT_FALSE(form->RadioButton4->Enabled());
  Press(form->RadioButton5);
  boxes.Clear();
  Press(form->NextBtn);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find("没有删除任何文件"), std::string::npos);
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
  EXPECT_EQ(VisiblePages(), "LicensePage");
  Press(form->RadioButton2);
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_1");
  EXPECT_TRUE(form->Edit1->Enabled());
  EXPECT_TRUE(form->SpeedButton1->Enabled());
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn");
}

TEST_F(Navigation, TheFreshInstallChoiceRemovesTheRecordAndRenumbersThePages) {
  std::string install = folder.Path() + "recorded";
  CreateDirectoryW(tk::ToWide(install).c_str(), nullptr);
  WriteRecord(install, {});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->RadioButton5);
  Press(form->NextBtn);
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
  EXPECT_EQ(form->PageCount(), 6);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  EXPECT_EQ(form->CurrentPageIndex(), 2);
  Press(form->RadioButton2);
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  EXPECT_EQ(form->CurrentPageIndex(), 1);
  // The uninstall choice now still has a page to show its progress on.
  Press(form->RadioButton3);
  Press(form->NextBtn);
  EXPECT_TRUE(form->UninstallPage->Visible());
  EXPECT_EQ(VisiblePages(), "");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_TRUE(form->CloseBtn->Enabled());
  // Back from that page returns to the choice page it was started from.
  Press(form->UpBtn);
  EXPECT_FALSE(form->UninstallPage->Visible());
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  EXPECT_TRUE(form->UpBtn->Enabled());
  // "退出" after the removal ends the program; nothing is left to open.
  Press(form->NextBtn);
  EXPECT_TRUE(application.Terminated());
  EXPECT_TRUE(opened.empty());
}

TEST_F(Navigation, AFreshInstallWhoseRemovalFailsReturnsToTheChoicePage) {
  std::string install = folder.Path() + "recorded";
  CreateDirectoryW(tk::ToWide(install).c_str(), nullptr);
  CreateDirectoryW(tk::ToWide(install + "\\eblog").c_str(), nullptr);
  WriteRecord(install, {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  Press(form->RadioButton5);
  {
    // Another program holds a file of the old installation open: it cannot be removed.
    tk::TFileStream holder(install + "\\eblog\\held.txt", tk::FileMode::Create);
    Press(form->NextBtn);
  }
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  EXPECT_TRUE(KeyExists("\\Software\\quarn\\version")) << "the record stays for another try";
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find("eblog"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_EQ(form->NextBtn->Caption(), "下一步");
  // Once the file is let go, the same choice removes it and goes on to the agreement.
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
}

TEST_F(Navigation, TheUninstallChoiceAsksThenRemovesTheRecord) {
  std::string install = folder.Path() + "recorded";
  CreateDirectoryW(tk::ToWide(install).c_str(), nullptr);
  CreateDirectoryW(tk::ToWide(install + "\\eblog").c_str(), nullptr);
  WriteRecord(install, {"eblog"});
  CreateWizard(true);
  Press(form->NextBtn);
  boxes.Script({tk::MessageAnswer::No});
  Press(form->NextBtn);
  EXPECT_EQ(VisiblePages(), "HadInstallPage");
  EXPECT_TRUE(KeyExists("\\Software\\quarn\\version"));
  Press(form->NextBtn);
  EXPECT_EQ(boxes.Boxes().back().text, "您确认您要卸载Quarn吗?");
  EXPECT_EQ(VisiblePages(), "UninstallPage");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
  EXPECT_EQ(form->Label37->Caption(), "Quarn系统卸载成功!");
  EXPECT_FALSE(KeyExists("\\Software\\quarn"));
  DWORD attributes = GetFileAttributesW(tk::ToWide(install + "\\eblog").c_str());
  EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(form->UpBtn->Enabled());
  // Back from the uninstall page shows the final page without touching Next's caption.
  Press(form->UpBtn);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  EXPECT_EQ(form->NextBtn->Caption(), "退出");
}

namespace {

ui::TfSetupMainForm* pickerOwner = nullptr;
bool pickerAnswersOk = true;
std::string pickerSeed;

// Runs inside the picker's modal loop, once the picker is shown (building its folder tree may
// let the timer in earlier): notes its seed, types a folder and ends it.
void CALLBACK AnswerPicker(HWND, UINT, UINT_PTR id, DWORD) {
  for (int i = pickerOwner->ComponentCount() - 1; i >= 0; --i)
    if (auto* picker = dynamic_cast<ui::TFSelectPath*>(pickerOwner->Components(i));
        picker && picker->Modal() && IsWindowVisible(picker->Handle()) &&
        picker->GetModalResult() == tk::ModalResult::None) {
      KillTimer(nullptr, id);
      pickerSeed = picker->Edit1->Text();
      picker->Edit1->SetText("d:\\picked");
      picker->SetModalResult(pickerAnswersOk ? tk::ModalResult::Ok : tk::ModalResult::Cancel);
      return;
    }
}

}  // namespace

TEST_F(Navigation, TheFolderPickerStartsAtTheSetupFolderAndFillsTheBoxOnlyOnOk) {
  CreateWizard(true);
  pickerOwner = form;
  pickerAnswersOk = false;
  SetTimer(nullptr, 0, 100, AnswerPicker);
  form->SpeedButton1Click();
  EXPECT_EQ(pickerSeed, folder.Path());
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn") << "Cancel leaves the folder box";
  pickerAnswersOk = true;
  SetTimer(nullptr, 0, 100, AnswerPicker);
  form->SpeedButton1Click();
  EXPECT_EQ(form->Edit1->Text(), "d:\\picked");
  EXPECT_TRUE(boxes.Boxes().empty()) << "the chosen text is checked only when the box is left";
  int pickers = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) pickers += dynamic_cast<ui::TFSelectPath*>(form->Components(i)) ? 1 : 0;
  EXPECT_EQ(pickers, 1) << "every click shows the same picker";
}
