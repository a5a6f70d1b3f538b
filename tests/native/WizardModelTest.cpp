// The wizard's decisions, page by page, in the orders the window's handlers take them.
#include <gtest/gtest.h>

#include "common/portable/InstallFolderRule.h"
#include "setup/portable/WizardModel.h"

using namespace pub;
using Kind = WizardActionKind;
using P = WizardPage;

namespace {

// Buttons as Back, Next, Exit enabled, and Next's caption.
WizardButtons B(bool back, bool next, bool exit, NextCaption caption = NextCaption::Next) {
  return {back, next, exit, caption};
}

std::vector<WizardAction> Do(Kind kind, const std::string& message = "") { return {{kind, message}}; }

// The step agrees with the model's page, and both show what is expected.
void ExpectAt(const WizardModel& model, const WizardStep& step, WizardPage page, WizardButtons buttons) {
  EXPECT_EQ(step.page, page);
  EXPECT_EQ(model.Page(), page);
  EXPECT_TRUE(step.buttons == buttons);
}

// From the welcome page of a model with a record to its choice page.
WizardModel AtChoicePage(const std::string& recordedFolder) {
  WizardModel model(true, recordedFolder);
  model.Next();
  return model;
}

}  // namespace

TEST(WizardModel, AFirstInstallWalksItsFivePagesToTheFinishAction) {
  WizardModel model(false, "");
  EXPECT_EQ(model.Folder(), "c:\\quarn");
  ExpectAt(model, model.Next(), P::Agreement, B(true, false, true));  // the refusal is selected at first
  ExpectAt(model, model.SetAccepted(true), P::Agreement, B(true, true, true));
  ExpectAt(model, model.Next(), P::Folder, B(true, true, true));
  WizardStep copying = model.Next();
  ExpectAt(model, copying, P::Copying, B(false, false, false));
  EXPECT_EQ(copying.actions, Do(Kind::RunInstall));
  EXPECT_TRUE(model.RunActive());
  ExpectAt(model, model.InstallEnded(true), P::Copying, B(false, true, false, NextCaption::Finish));
  WizardStep final = model.Next();
  ExpectAt(model, final, P::Final, B(false, true, false, NextCaption::Exit));
  EXPECT_EQ(model.PageIndex(), 4) << "the fifth page";
  EXPECT_EQ(final.actions, Do(Kind::RegisterDatabaseAgain));
  EXPECT_EQ(model.Next().actions, Do(Kind::FinishAction));
  EXPECT_EQ(model.Page(), P::Final) << "the window ends; the model stays";
}

TEST(WizardModel, TheAgreementChoiceGatesNextAndSurvivesBackAndForward) {
  WizardModel model(false, "");
  model.Next();
  ExpectAt(model, model.Back(), P::Welcome, B(false, true, true));
  EXPECT_TRUE(model.Back().actions.empty());
  EXPECT_EQ(model.Page(), P::Welcome) << "Back is off on the welcome page";
  model.SetAccepted(true);
  ExpectAt(model, model.Next(), P::Agreement, B(true, true, true));
  ExpectAt(model, model.SetAccepted(false), P::Agreement, B(true, false, true));
  model.Next();
  EXPECT_EQ(model.Page(), P::Agreement) << "Next is off until the agreement is accepted";
  model.SetAccepted(true);
  model.Next();
  ExpectAt(model, model.Back(), P::Agreement, B(true, true, true));
  ExpectAt(model, model.Back(), P::Welcome, B(false, true, true));
}

TEST(WizardModel, OnlyAUsableFolderLeavesTheFolderPage) {
  WizardModel model(false, "");
  model.Next();
  model.SetAccepted(true);
  model.Next();
  for (const char* refused : {"", "quarn", "c:", "c:\\", "\\\\server\\share\\q", "c:\\a|b", "c:\\q\\..\\..",
                              "c:\\q&t", "c:\\100%"}) {
    SCOPED_TRACE(refused);
    model.SetFolder(refused);
    WizardStep step = model.Next();
    ExpectAt(model, step, P::Folder, B(true, true, true));
    EXPECT_EQ(step.actions, Do(Kind::ShowFolderProblem, InstallFolderProblem(refused)));
  }
  model.SetFolder("d:\\web\\");
  EXPECT_EQ(model.Next().actions, Do(Kind::RunInstall));
  // The run installs into d:\web, and the box, and the final page made from it, say so.
  EXPECT_EQ(model.Folder(), "d:\\web");
}

TEST(WizardModel, AFailedInstallRunLeavesBackAndExitForAnotherTry) {
  WizardModel model(false, "");
  model.Next();
  model.SetAccepted(true);
  model.Next();
  model.Next();
  ExpectAt(model, model.InstallEnded(false), P::Copying, B(true, false, true));
  EXPECT_TRUE(model.Next().actions.empty());
  ExpectAt(model, model.Back(), P::Folder, B(true, true, true));
  EXPECT_EQ(model.Next().actions, Do(Kind::RunInstall));
}

TEST(WizardModel, NothingMovesWhileARunIsUnderWay) {
  WizardModel model(false, "");
  model.Next();
  model.SetAccepted(true);
  model.Next();
  model.Next();
  for (WizardStep step : {model.Next(), model.Back(), model.UninstallConfirmed(), model.UninstallEnded(true)}) {
    EXPECT_TRUE(step.actions.empty());
    ExpectAt(model, step, P::Copying, B(false, false, false));
  }
  EXPECT_TRUE(model.InstallEnded(true).actions.empty());
  // A second end report changes nothing.
  ExpectAt(model, model.InstallEnded(false), P::Copying, B(false, true, false, NextCaption::Finish));
}

TEST(WizardModel, LeavingTheFolderBoxReportsTheFirstFaultOnly) {
  WizardModel model(false, "");
  model.SetFolder("c:\\my dir ");
  EXPECT_EQ(model.LeaveFolderBox(), "您建立的目录中包含空格，系统自动过滤了空格，请确认");
  EXPECT_EQ(model.Folder(), "c:\\mydir");
  model.SetFolder("c:\\安装 x");
  EXPECT_EQ(model.LeaveFolderBox(), "您建立的目录名称中包含汉字等字符，请从新输入");
  EXPECT_EQ(model.Folder(), "c:\\安装 x") << "refused, not changed";
  model.SetFolder("c:\\a b\\安装");
  EXPECT_EQ(model.LeaveFolderBox(), "您建立的目录中包含空格，系统自动过滤了空格，请确认");
  EXPECT_EQ(model.Folder(), "c:\\ab\\安装") << "the other rule waits for the next exit";
  for (const char* passes : {"c:\\a\x80z", "", "d:\\web"}) {
    model.SetFolder(passes);
    EXPECT_EQ(model.LeaveFolderBox(), "") << passes;
    EXPECT_EQ(model.Folder(), passes);
  }
}

TEST(WizardModel, ARecordAddsTheChoiceAndUninstallPagesWithUninstallPreselected) {
  WizardModel model(true, "d:\\recorded");
  EXPECT_EQ(model.Folder(), "d:\\recorded");
  EXPECT_EQ(model.Choice(), WizardChoice::Uninstall);
  ExpectAt(model, model.Next(), P::Choice, B(true, true, true));
  EXPECT_EQ(model.PageIndex(), 1);
  ExpectAt(model, model.Back(), P::Welcome, B(false, true, true));
  model.Next();
  EXPECT_EQ(model.Next().actions, Do(Kind::ConfirmUninstall));
  ExpectAt(model, model.UninstallConfirmed(), P::Uninstall, B(false, false, false, NextCaption::Exit));
  EXPECT_EQ(model.PageIndex(), 6) << "the last of seven pages";
}

TEST(WizardModel, ARepairFixesAUsableRecordedFolderForTheRestOfTheWalk) {
  WizardModel model = AtChoicePage("d:\\recorded");
  model.Choose(WizardChoice::Repair);
  ExpectAt(model, model.Next(), P::Agreement, B(true, false, true));
  EXPECT_TRUE(model.FolderFixed());
  model.SetFolder("e:\\other");
  EXPECT_EQ(model.Folder(), "d:\\recorded");
  ExpectAt(model, model.Back(), P::Choice, B(true, true, true));
  model.Choose(WizardChoice::Uninstall);
  EXPECT_TRUE(model.FolderFixed()) << "going back does not open the box again";
}

// A record without a usable folder is damaged: the wizard does not guess where to repair.
TEST(WizardModel, ADamagedRecordOffersRemovalAndAFreshInstallIntoAnOpenBoxButNoRepair) {
  for (const char* recorded : {"", "quarn", "c:\\", "c:\\a|b"}) {
    SCOPED_TRACE(recorded);
    WizardModel model = AtChoicePage(recorded);
    EXPECT_TRUE(model.RecordDamaged());
    EXPECT_FALSE(model.RepairOffered());
    EXPECT_EQ(model.Page(), P::Choice) << "the choice page stays, for removal";
    EXPECT_EQ(model.Folder(), "c:\\quarn");
    model.Choose(WizardChoice::Repair);
    EXPECT_EQ(model.Choice(), WizardChoice::Uninstall) << "a repair not offered is not taken";
    EXPECT_EQ(model.Next().actions, Do(Kind::ConfirmUninstall));

    model.Choose(WizardChoice::Fresh);
    EXPECT_EQ(model.Next().actions, Do(Kind::RunUninstall));
    model.UninstallEnded(true);
    model.SetAccepted(true);
    ExpectAt(model, model.Next(), P::Folder, B(true, true, true));
    EXPECT_FALSE(model.FolderFixed());
    model.SetFolder("e:\\chosen");
    EXPECT_EQ(model.Next().actions, Do(Kind::RunInstall));
  }
  for (const char* whole : {"d:\\recorded", "d:\\q&t"}) {
    EXPECT_FALSE(WizardModel(true, whole).RecordDamaged()) << whole;
    EXPECT_TRUE(WizardModel(true, whole).RepairOffered()) << whole;
  }
  EXPECT_FALSE(WizardModel(false, "").RecordDamaged()) << "no record is not a damaged one";
}

// Recorded before the batch-file rule: the repair goes there, and the folder page names the
// character instead of installing into it again.
TEST(WizardModel, ARepairIntoARecordedFolderTheBatchFilesCannotCarryStopsOnTheFolderPage) {
  WizardModel model = AtChoicePage("d:\\q&t");
  model.Choose(WizardChoice::Repair);
  model.Next();
  model.SetAccepted(true);
  model.Next();
  EXPECT_TRUE(model.FolderFixed());
  WizardStep step = model.Next();
  ExpectAt(model, step, P::Folder, B(true, true, true));
  EXPECT_EQ(step.actions, Do(Kind::ShowFolderProblem, InstallFolderProblem("d:\\q&t")));
}

TEST(WizardModel, TheUninstallChoiceAsksFirstThenRunsAndOffersExit) {
  WizardModel model = AtChoicePage("d:\\recorded");
  WizardStep ask = model.Next();
  EXPECT_EQ(ask.actions, Do(Kind::ConfirmUninstall));
  ExpectAt(model, ask, P::Choice, B(true, true, true));  // a "no" leaves everything as it is
  WizardStep run = model.UninstallConfirmed();
  EXPECT_EQ(run.actions, Do(Kind::RunUninstall));
  ExpectAt(model, run, P::Uninstall, B(false, false, false, NextCaption::Exit));
  ExpectAt(model, model.UninstallEnded(true), P::Uninstall, B(true, true, true, NextCaption::Exit));
  // Back shows the final page of the stack, without its arrival work; Next still reads "退出".
  WizardStep back = model.Back();
  ExpectAt(model, back, P::Final, B(true, true, true, NextCaption::Exit));
  EXPECT_TRUE(back.actions.empty());
  EXPECT_EQ(model.Next().actions, Do(Kind::CloseProgram)) << "nothing is installed to open";
}

TEST(WizardModel, TheUninstallerAloneHasNoPageToGoBackToAfterItsRemoval) {
  WizardModel model(true, "d:\\recorded", /*uninstallerAlone=*/true);
  model.Next();
  model.Next();
  model.UninstallConfirmed();
  ExpectAt(model, model.UninstallEnded(true), P::Uninstall, B(false, true, true, NextCaption::Exit));
  EXPECT_TRUE(model.Removed());
}

TEST(WizardModel, AnUnfinishedRemovalStillEndsWithExit) {
  WizardModel model = AtChoicePage("d:\\recorded");
  model.Next();
  model.UninstallConfirmed();
  ExpectAt(model, model.UninstallEnded(false), P::Uninstall, B(true, true, true, NextCaption::Exit));
  EXPECT_EQ(model.Next().actions, Do(Kind::CloseProgram));
}

TEST(WizardModel, AFreshInstallRemovesFirstThenSetsTheUninstallPageAside) {
  WizardModel model = AtChoicePage("d:\\recorded");
  model.Choose(WizardChoice::Fresh);
  WizardStep run = model.Next();
  EXPECT_EQ(run.actions, Do(Kind::RunUninstall)) << "no confirmation";
  ExpectAt(model, run, P::Uninstall, B(false, false, false));
  ExpectAt(model, model.UninstallEnded(true), P::Agreement, B(true, false, true));
  EXPECT_TRUE(model.UninstallPageAside());
  EXPECT_EQ(model.PageIndex(), 2);
}

TEST(WizardModel, ARemovalAfterAFreshInstallShowsTheSetAsidePageAndBackReturnsToTheChoice) {
  WizardModel model = AtChoicePage("d:\\recorded");
  model.Choose(WizardChoice::Fresh);
  model.Next();
  model.UninstallEnded(true);
  ExpectAt(model, model.Back(), P::Choice, B(true, true, true));
  EXPECT_EQ(model.PageIndex(), 1);
  model.Choose(WizardChoice::Uninstall);
  model.Next();
  ExpectAt(model, model.UninstallConfirmed(), P::Uninstall, B(false, false, false, NextCaption::Exit));
  EXPECT_EQ(model.PageIndex(), 0) << "shown on its own, outside the stack";
  model.UninstallEnded(true);
  ExpectAt(model, model.Back(), P::Choice, B(true, true, true, NextCaption::Exit));
  EXPECT_EQ(model.Next().actions, Do(Kind::CloseProgram));
}

TEST(WizardModel, AFreshInstallWhoseRemovalFailedReturnsToTheChoice) {
  WizardModel model = AtChoicePage("d:\\recorded");
  model.Choose(WizardChoice::Fresh);
  model.Next();
  ExpectAt(model, model.UninstallEnded(false), P::Choice, B(true, true, true));
  EXPECT_FALSE(model.UninstallPageAside()) << "the record stays, and so does the page";
  EXPECT_EQ(model.Next().actions, Do(Kind::RunUninstall)) << "the removal can be tried again";
}

// An older package over the recorded installation: the repair asks first; "no" stays on the
// choice page, "yes" goes on as any repair. A newer or unknown version is not asked about.
TEST(WizardModel, ARepairWithAnOlderPackageAsksBeforeGoingOn) {
  InstallationRecordReading record = JudgeTextRecord(true, "d:\\recorded");
  record.version = "3.0.0";
  WizardModel model(record);
  model.SetPackageVersion("1.0.0");
  EXPECT_TRUE(model.PackageOlder());
  model.Next();
  model.Choose(WizardChoice::Repair);
  WizardStep ask = model.Next();
  ASSERT_EQ(ask.actions.size(), 1u);
  EXPECT_EQ(ask.actions[0].kind, Kind::ConfirmDowngrade);
  for (const char* version : {"1.0.0", "3.0.0"})
    EXPECT_NE(ask.actions[0].message.find(version), std::string::npos) << ask.actions[0].message;
  ExpectAt(model, ask, P::Choice, B(true, true, true));  // a "no" leaves everything as it is
  EXPECT_FALSE(model.FolderFixed());
  ExpectAt(model, model.DowngradeConfirmed(), P::Agreement, B(true, false, true));
  EXPECT_TRUE(model.FolderFixed());
  EXPECT_TRUE(model.DowngradeConfirmed().actions.empty()) << "only from the choice page";

  for (const char* package : {"3.0.0", "3.0.1", ""}) {
    WizardModel same(record);
    same.SetPackageVersion(package);
    same.Next();
    same.Choose(WizardChoice::Repair);
    EXPECT_TRUE(same.Next().actions.empty()) << package;
    EXPECT_EQ(same.Page(), P::Agreement) << package;
  }
}
