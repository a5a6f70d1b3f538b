// The toolkit's controls on a form of their own.
#include <gtest/gtest.h>

#include <thread>

#include "tests/win/support/FormFixture.h"
#include "tests/win/support/WinTestSupport.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/CheckListBox.h"
#include "toolkit/win/Edit.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Memo.h"
#include "toolkit/win/RadioButton.h"

using namespace testing_support;

namespace {

class Controls : public FormTest {};

}  // namespace

TEST_F(Controls, GaugePercentageClampingAndRefusedRange) {
  auto* gauge = Add<tk::Gauge>(10, 10, 200, 20);
  EXPECT_EQ(gauge->PercentText(), "0%");
  gauge->SetMaxValue(3);
  gauge->SetProgress(2);
  EXPECT_EQ(gauge->PercentText(), "66%");  // truncated, not rounded
  gauge->SetProgress(42);
  EXPECT_EQ(gauge->Progress(), 3);
  gauge->SetProgress(-5);
  EXPECT_EQ(gauge->Progress(), 0);
  gauge->SetMinValue(10 - 10);
  gauge->SetMaxValue(0);
  EXPECT_EQ(gauge->PercentDone(), 0);  // maximum equal to minimum
  gauge->SetMaxValue(2000000000);
  gauge->SetProgress(1999999999);
  EXPECT_EQ(gauge->PercentDone(), 99);  // no overflow on large ranges
  gauge->SetMinValue(5);
  EXPECT_EQ(gauge->Progress(), 1999999999);
  try {
    gauge->SetMaxValue(4);
    FAIL() << "a maximum below the minimum was accepted";
  } catch (const tk::EInvalidOperation& error) {
    EXPECT_EQ(error.Message(), "Value must be between 5 and 2147483647");
  }
  EXPECT_EQ(gauge->MaxValue(), 2000000000);
  // Raising the minimum above the position pulls the position up.
  gauge->SetProgress(6);
  gauge->SetMinValue(100);
  EXPECT_EQ(gauge->Progress(), 100);
}

TEST_F(Controls, DrawnControlsKeepTheFormsFont) {
  auto* gauge = Add<tk::Gauge>(10, 10, 200, 20);
  auto* memo = Add<tk::Memo>(10, 40, 200, 60);
  ASSERT_NE(form->Font(), nullptr);
  // A window of our own class keeps its font itself; the gauge's percentage is drawn with it.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(gauge->Handle(), WM_GETFONT, 0, 0)), form->Font());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(memo->Handle(), WM_GETFONT, 0, 0)), form->Font());
}

TEST_F(Controls, OnExitFiresOnlyWhenTheFocusMovesWithinTheForm) {
  auto* edit = Add<tk::Edit>(10, 10, 200, 21);
  auto* button = Add<tk::Button>(10, 40, 75, 25);
  int exits = 0;
  edit->OnExit = [&] { ++exits; };
  form->Show();
  edit->SetFocus();
  PumpMessages();
  ASSERT_TRUE(edit->Focused());

  // A real message box takes the focus; another thread answers it.
  std::thread answerer([] {
    for (int i = 0; i < 200; ++i) {
      Sleep(20);
      HWND box = FindWindowW(L"#32770", nullptr);
      if (box) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
    }
  });
  MessageBoxW(form->Handle(), L"focus test", L"test", MB_OK);
  answerer.join();
  PumpMessages();
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(edit->Focused()) << "the form gives the focus back to the control that had it";

  button->SetFocus();
  PumpMessages();
  EXPECT_EQ(exits, 1);
}

TEST_F(Controls, DisablingTheFocusedButtonMovesTheFocusToTheNextEnabledControl) {
  auto* next = Add<tk::Button>(10, 40, 75, 25);
  auto* exit = Add<tk::Button>(100, 40, 75, 25);
  int cancels = 0;
  exit->OnClick = [&] { ++cancels; };
  form->SetCancelButton(exit);
  form->Show();
  next->SetFocus();
  PumpMessages();
  ASSERT_TRUE(next->Focused());
  next->SetEnabled(false);  // as Next is on reaching the agreement page
  PumpMessages();
  EXPECT_TRUE(exit->Focused()) << "the focus stays within the form, on an enabled control";
  PostMessageW(exit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_EQ(cancels, 1) << "Esc still reaches the cancel button";
}

TEST_F(Controls, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
  auto* edit = Add<tk::Edit>(10, 10, 200, 21);
  auto* ok = Add<tk::Button>(10, 40, 75, 25);
  auto* cancel = Add<tk::Button>(100, 40, 75, 25);
  int oks = 0, cancels = 0;
  ok->OnClick = [&] { ++oks; };
  cancel->OnClick = [&] { ++cancels; };
  form->SetDefaultButton(ok);
  form->SetCancelButton(cancel);
  int exits = 0;
  edit->OnExit = [&] { ++exits; };
  form->Show();
  edit->SetFocus();
  PumpMessages();
  PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(exits, 0) << "Enter presses the button without moving the focus";
  PostMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_EQ(cancels, 1);
  ok->SetEnabled(false);
  PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(oks, 1) << "a disabled default button is not pressed";
}

TEST_F(Controls, RadioButtonsOfOneParentFormAGroup) {
  auto* a = Add<tk::RadioButton>(10, 10, 100, 18);
  auto* b = Add<tk::RadioButton>(10, 30, 100, 18);
  int clicks = 0;
  b->OnClick = [&] { ++clicks; };
  a->SetChecked(true);
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Controls, MemoAppendsLinesAndFollowsTheEnd) {
  auto* memo = new tk::Memo(form, form, tk::MemoStyle{true, true});
  memo->SetBounds(10, 10, 300, 100);
  form->Show();
  for (int i = 0; i < 500; ++i) memo->AddLine("第" + std::to_string(i) + "行 c:\\quarn\\file.txt");
  EXPECT_EQ(memo->LineCount(), 500);
  EXPECT_EQ(memo->Line(499), "第499行 c:\\quarn\\file.txt");
  PumpMessages(2 * tk::Memo::kViewUpdateMs);
  EXPECT_EQ(memo->TopRow() + memo->VisibleRows(), memo->RowCount());
  // Scrolled back by the user, the view stays where it is.
  SendMessageW(memo->Handle(), WM_KEYDOWN, VK_HOME, 0);
  memo->AddLine("more");
  PumpMessages(2 * tk::Memo::kViewUpdateMs);
  EXPECT_EQ(memo->TopRow(), 0);
  // A line wider than the box wraps into more rows; text splits at CR LF, LF and CR.
  memo->SetText("a\r\nb\nc\rd");
  EXPECT_EQ(memo->LineCount(), 4);
  memo->SetText(std::string(400, 'x'));
  EXPECT_GT(memo->RowCount(), 1);
}

TEST_F(Controls, CheckListBoxHoldsItemsAndTheirChecks) {
  auto* list = Add<tk::CheckListBox>(10, 10, 200, 100);
  list->Add("eforum");
  list->Add("论坛");
  list->SetChecked(1, true);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Item(1), "论坛");
  EXPECT_FALSE(list->Checked(0));
  EXPECT_TRUE(list->Checked(1));
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 2);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(Controls, AModalFormThatFailsToShowGivesTheOtherWindowsBack) {
  form->Show();
  auto* dialog = new tk::Form(&application);
  dialog->OnShow = [] { throw tk::EInvalidOperation("cannot show"); };
  EXPECT_THROW(dialog->ShowModal(), tk::EInvalidOperation);
  EXPECT_TRUE(IsWindowEnabled(form->Handle())) << "the program's window stayed disabled";
  EXPECT_FALSE(dialog->Visible());
}
