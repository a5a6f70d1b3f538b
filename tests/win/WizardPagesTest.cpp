// Page switching by page index, with pages released.
#include <gtest/gtest.h>

#include "tests/win/support/WinTestSupport.h"
#include "tests/win/support/WizardFixture.h"
#include "ui/SetupMainForm.h"

using namespace testing_support;

namespace {

// With a package: no installation recorded, so the choice and uninstall pages are released at
// creation.
class WizardPages : public WizardFixture {};

}  // namespace

TEST_F(WizardPages, WithoutARecordTheOptionalPagesGoAndTheRestRenumber) {
  CreateWizard(true);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(form->BasePanel->Controls().size(), 5u);
  EXPECT_EQ(form->HadInstallPage, nullptr);
  EXPECT_EQ(form->UninstallPage, nullptr);
  EXPECT_EQ(form->Label32, nullptr);
  EXPECT_EQ(form->FindControl("RadioButton3"), nullptr);
  EXPECT_EQ(form->WelcomePage->TabOrder(), 0);
  EXPECT_EQ(form->LicensePage->TabOrder(), 1);
  EXPECT_EQ(form->FullInstallPage_1->TabOrder(), 2);
  EXPECT_EQ(form->FullInstallPage_2->TabOrder(), 3);
  EXPECT_EQ(form->FullInstallPage_3->TabOrder(), 4);

  form->ShowPage(1, true);
  EXPECT_EQ(VisiblePages(), "LicensePage");
  form->ShowPage(4, true);
  EXPECT_EQ(VisiblePages(), "FullInstallPage_3");
  form->ShowPage(5, true);
  EXPECT_EQ(VisiblePages(), "");
}

TEST_F(WizardPages, ReleasingTheLastPageKeepsTheOtherIndexes) {
  CreateWizard(false);
  form->ReleasePage(form->UninstallPage);
  EXPECT_EQ(form->BasePanel->Controls().size(), 6u);
  EXPECT_EQ(form->Gauge2, nullptr);
  const char* byIndex[] = {"WelcomePage", "HadInstallPage", "LicensePage", "FullInstallPage_1",
                           "FullInstallPage_2", "FullInstallPage_3"};
  for (int i = 0; i < 6; ++i) {
    form->ShowPage(i, true);
    EXPECT_EQ(VisiblePages(), byIndex[i]);
  }
  form->ShowPage(6, true);
  EXPECT_EQ(VisiblePages(), "");
}

TEST_F(WizardPages, ShowFlagFalseShowsEveryOtherPage) {
  CreateWizard(false);
  form->ShowPage(2, false);
  EXPECT_FALSE(form->LicensePage->Visible());
  EXPECT_TRUE(form->WelcomePage->Visible());
  EXPECT_TRUE(form->FullInstallPage_2->Visible());
}
