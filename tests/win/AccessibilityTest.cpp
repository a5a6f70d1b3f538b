// The drawn controls as a screen reader finds them: through oleacc's AccessibleObjectFromWindow,
// which sends WM_GETOBJECT, and through the value-change events a run raises.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/driver/AccessibleReading.h"
#include "tests/win/support/EngineFixture.h"
#include "tests/win/support/FormFixture.h"
#include "tests/win/support/PackageBuilder.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Bevel.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/ComboBox.h"
#include "toolkit/win/ComPtr.h"
#include "toolkit/win/Edit.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Image.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"
#include "ui/SelectPathForm.h"
#include "ui/StartupPicForm.h"

using namespace testing_support;
using e2e::AccessibleRead;
using e2e::ReadAccessible;
using e2e::ReadAccessibleWindow;
using e2e::SelfChild;
using e2e::TakeBstr;

namespace {

class Accessibility : public FormTest {};

// A drawn control whose description fails, as one whose text cannot be had would.
class FailingControl : public tk::DrawnControl {
 public:
  FailingControl(tk::Component* owner, tk::Control* parent) : DrawnControl(owner, parent) {
    CreateHandle(RegisterOwnClass(L"QuarnFailingTestControl", 0, nullptr), 0, 0);
  }

 protected:
  void Paint(HDC, const RECT&, const RECT&) override {}
  tk::AccessibleDescription DescribeForAccessibility() const override { throw std::runtime_error("no text"); }
};

}  // namespace

TEST_F(Accessibility, TheGaugeIsAProgressBarWhoseValueIsThePercentageItShows) {
  auto* gauge = Add<tk::Gauge>(10, 10, 200, 20);
  gauge->SetAccessibleName("安装进度");
  tk::ComPtr<IAccessible> object;
  ASSERT_EQ(e2e::AccessibleOfWindow(gauge->Handle(), &object), S_OK);
  HWND window = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(object.get(), &window), S_OK);
  EXPECT_EQ(window, gauge->Handle());
  AccessibleRead read = ReadAccessible(object.get());
  EXPECT_EQ(read.name, L"安装进度");  // GBK inside, UTF-16 for the reader
  EXPECT_EQ(read.role, ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(read.value, L"0%");
  EXPECT_TRUE(read.state & STATE_SYSTEM_READONLY);
  EXPECT_FALSE(read.state & STATE_SYSTEM_INVISIBLE);
  gauge->SetMaxValue(3);
  gauge->SetProgress(2);
  EXPECT_EQ(ReadAccessible(object.get()).value, L"66%") << "the object held reads the gauge as it is now";

  // Where it is and what it belongs to come from the system's own object for the window.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(object->accLocation(&left, &top, &width, &height, SelfChild()), S_OK);
  RECT client;
  GetClientRect(gauge->Handle(), &client);
  MapWindowPoints(gauge->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(left, client.left);
  EXPECT_EQ(top, client.top);
  EXPECT_EQ(width, client.right - client.left);
  EXPECT_EQ(height, client.bottom - client.top);
  tk::ComPtr<IDispatch> parent;
  EXPECT_EQ(object->get_accParent(&parent), S_OK);
  EXPECT_NE(parent.get(), nullptr);
  // Any other object of the window (its frame, its scroll bars) stays the system's.
  EXPECT_EQ(SendMessageW(gauge->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);
  EXPECT_EQ(SendMessageW(gauge->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_VSCROLL)), 0);
}

TEST_F(Accessibility, TheMemoIsReadOnlyTextNamedByTheLabelBeforeIt) {
  auto* label = Add<tk::Label>(10, 10, 200, 14);
  label->SetCaption("已拷贝的文件：");
  auto* memo = Add<tk::Memo>(10, 30, 200, 60);
  memo->SetText("第一行\r\n第二行");
  AccessibleRead read = ReadAccessibleWindow(memo->Handle());
  EXPECT_EQ(read.name, L"已拷贝的文件：");
  EXPECT_EQ(read.role, ROLE_SYSTEM_TEXT);
  EXPECT_TRUE(read.state & STATE_SYSTEM_READONLY);
  EXPECT_TRUE(read.state & STATE_SYSTEM_FOCUSABLE) << "the system's part of the state is kept";
  EXPECT_EQ(read.value, L"第一行\r\n第二行") << "lines between line ends, none after the last";
  memo->AddLine("c:\\quarn\\新文件.txt");
  EXPECT_EQ(ReadAccessibleWindow(memo->Handle()).value, L"第一行\r\n第二行\r\nc:\\quarn\\新文件.txt") << "before the view caught up";
  // A name given wins over the label.
  memo->SetAccessibleName("文件");
  EXPECT_EQ(ReadAccessibleWindow(memo->Handle()).name, L"文件");
}

TEST_F(Accessibility, ALabelAssociatedWithAControlNamesIt) {
  auto* edit = Add<tk::Edit>(60, 10, 200, 21);
  auto* button = Add<tk::Button>(270, 10, 60, 21);
  auto* label = Add<tk::Label>(10, 10, 50, 14);
  label->SetCaption("路径:");
  edit->SetTabOrder(0);
  EXPECT_TRUE(ReadAccessibleWindow(edit->Handle()).name.empty()) << "no static text before it";
  tk::AssociateLabel(*label, *edit);
  EXPECT_EQ(GetWindow(edit->Handle(), GW_HWNDPREV), label->Handle());
  EXPECT_EQ(ReadAccessibleWindow(edit->Handle()).name, L"路径:");
  EXPECT_EQ(edit->TabOrder() + 1, button->TabOrder());
  // From before the control too: the label lands just before it, not after.
  auto* gauge = Add<tk::Gauge>(10, 40, 200, 20);
  tk::AssociateLabel(*label, *gauge);
  EXPECT_EQ(GetWindow(gauge->Handle(), GW_HWNDPREV), label->Handle());
  EXPECT_EQ(ReadAccessibleWindow(gauge->Handle()).name, L"路径:");
  tk::AssociateLabel(*label, *button);
  EXPECT_EQ(GetWindow(button->Handle(), GW_HWNDPREV), label->Handle());
}

TEST_F(Accessibility, ThePictureIsAGraphicWithItsAlternativeTextAndTheBevelIsHidden) {
  auto* image = Add<tk::Image>(10, 10, 64, 64);
  image->LoadFromResource(L"HEADER");
  image->SetAccessibleName("Quarn 标志");
  auto* bevel = Add<tk::Bevel>(0, 80, 400, 2);
  AccessibleRead picture = ReadAccessibleWindow(image->Handle());
  EXPECT_EQ(picture.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(picture.name, L"Quarn 标志");
  EXPECT_FALSE(picture.state & STATE_SYSTEM_INVISIBLE);
  // The start-up picture says what it shows.
  auto* splash = new ui::TFStartupPicForm(&application);
  AccessibleRead startup = ReadAccessibleWindow(splash->Image1->Handle());
  EXPECT_EQ(startup.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(startup.name.rfind(L"Quarn 系列软件", 0), 0u);
  AccessibleRead line = ReadAccessibleWindow(bevel->Handle());
  EXPECT_TRUE(line.state & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(line.name.empty());
}

TEST_F(Accessibility, AnObjectHeldPastItsControlSaysItIsNoLongerConnected) {
  auto* gauge = Add<tk::Gauge>(10, 10, 200, 20);
  tk::ComPtr<IAccessible> object;
  ASSERT_EQ(e2e::AccessibleOfWindow(gauge->Handle(), &object), S_OK);
  delete gauge;
  BSTR text = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(object->get_accName(SelfChild(), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(text, nullptr) << "no stale pointer handed out";
  EXPECT_EQ(object->get_accValue(SelfChild(), &text), CO_E_OBJNOTCONNECTED);
  VARIANT role;
  EXPECT_EQ(object->get_accRole(SelfChild(), &role), CO_E_OBJNOTCONNECTED);
  long left, top, width, height;
  EXPECT_EQ(object->accLocation(&left, &top, &width, &height, SelfChild()), CO_E_OBJNOTCONNECTED);
  IDispatch* parent = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(object->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(parent, nullptr);

  // The window destroyed under a control that lives on.
  auto* memo = Add<tk::Memo>(10, 40, 200, 60);
  tk::ComPtr<IAccessible> memoObject;
  ASSERT_EQ(e2e::AccessibleOfWindow(memo->Handle(), &memoObject), S_OK);
  DestroyWindow(memo->Handle());
  EXPECT_EQ(memoObject->get_accValue(SelfChild(), &text), CO_E_OBJNOTCONNECTED);
  delete memo;
  EXPECT_EQ(memoObject->get_accRole(SelfChild(), &role), CO_E_OBJNOTCONNECTED);
}

TEST_F(Accessibility, AFailingDescriptionIsAnErrorCodeNotAnException) {
  auto* failing = new FailingControl(form, form);
  tk::ComPtr<IAccessible> object;
  ASSERT_EQ(e2e::AccessibleOfWindow(failing->Handle(), &object), S_OK);
  VARIANT role;
  EXPECT_EQ(object->get_accRole(SelfChild(), &role), E_FAIL);
  BSTR value = nullptr;
  EXPECT_EQ(object->get_accValue(SelfChild(), &value), E_FAIL);
  EXPECT_EQ(value, nullptr);
}

namespace {

// Value-change events of this process, and the value each one announced, read back at once.
struct HeardValues {
  const tk::Gauge* gauge = nullptr;
  std::vector<std::wstring> values;
  std::vector<std::wstring> shown;  // what the gauge showed as each was read
};
HeardValues* heard = nullptr;

void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG objectId, LONG childId, DWORD, DWORD) {
  if (!heard || hwnd != heard->gauge->Handle()) return;
  heard->values.push_back(e2e::ReadEventValue(hwnd, objectId, childId));
  heard->shown.push_back(tk::ToWide(heard->gauge->PercentText()));
}

class ValueChangeListener {
 public:
  explicit ValueChangeListener(const tk::Gauge* gauge) {
    heard_.gauge = gauge;
    heard = &heard_;
    hook_ = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnValueChange,
                            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  }
  ~ValueChangeListener() {
    if (hook_) UnhookWinEvent(hook_);
    heard = nullptr;
  }
  ValueChangeListener(const ValueChangeListener&) = delete;
  ValueChangeListener& operator=(const ValueChangeListener&) = delete;
  bool Hooked() const { return hook_ != nullptr; }
  const std::vector<std::wstring>& Values() const { return heard_.values; }
  const std::vector<std::wstring>& Shown() const { return heard_.shown; }

 private:
  HeardValues heard_;
  HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace

TEST_F(Accessibility, TheGaugeAnnouncesEachNewPercentageOnceNotEachStep) {
  auto* gauge = Add<tk::Gauge>(10, 10, 200, 20);
  gauge->SetMaxValue(1000);
  ValueChangeListener listener(gauge);
  ASSERT_TRUE(listener.Hooked());
  for (int step = 1; step <= 1000; ++step) gauge->SetProgress(step);
  gauge->SetProgress(1000);
  PumpMessages(200);
  ASSERT_EQ(listener.Values().size(), 100u) << "one event per percentage, not per step";
  EXPECT_EQ(listener.Values().back(), L"100%");
}

namespace {

class AccessibleWizard : public WizardFixture {
 protected:
  MachineStateGuard machine;
};

}  // namespace

TEST_F(AccessibleWizard, EveryDrawnControlSaysWhatItIs) {
  CreateWizard(false);
  int drawn = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* control = dynamic_cast<tk::DrawnControl*>(form->Components(i));
    if (!control) continue;
    ++drawn;
    AccessibleRead read = ReadAccessibleWindow(control->Handle());
    if (dynamic_cast<tk::Bevel*>(control))
      EXPECT_TRUE(read.state & STATE_SYSTEM_INVISIBLE) << control->Name();
    else
      EXPECT_FALSE(read.name.empty()) << control->Name() << " has no name";
  }
  EXPECT_GE(drawn, 18);  // two gauges, three memos, seven pictures, seven lines
  AccessibleRead gauge = ReadAccessibleWindow(form->Gauge1->Handle());
  EXPECT_EQ(gauge.name, L"安装进度");
  EXPECT_EQ(gauge.role, ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(ReadAccessibleWindow(form->Gauge2->Handle()).name, L"卸载进度");
  AccessibleRead license = ReadAccessibleWindow(form->Memo2->Handle());
  EXPECT_EQ(license.role, ROLE_SYSTEM_TEXT);
  EXPECT_EQ(license.value + L"\r\n", tk::ToWide(form->Memo2->Text()));
  EXPECT_GT(license.value.size(), 100u);
  AccessibleRead welcome = ReadAccessibleWindow(form->FindControl("WelcomeImage")->Handle());
  EXPECT_EQ(welcome.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(welcome.name, L"Quarn 安装向导");
  EXPECT_EQ(ReadAccessibleWindow(form->FindControl("LicensePagePicture")->Handle()).name, L"Quarn 标志");
  // The folder box is the system's edit control, named by its label.
  AccessibleRead edit = ReadAccessibleWindow(form->Edit1->Handle());
  EXPECT_EQ(edit.name, L"Quarn软件安装目录选择：");
  EXPECT_EQ(edit.value, L"c:\\quarn");
  EXPECT_EQ(form->Edit1->TabOrder() + 1, form->SpeedButton1->TabOrder()) << "the keyboard's order is kept";
}

TEST_F(AccessibleWizard, TheGaugesValueFollowsAnInstallRun) {
  std::vector<PackageFile> files = BundleFiles(false, false);
  // Enough files that a per-file announcement would show.
  for (int i = 0; i < 400; ++i) files.push_back({"eblog/pages/page" + std::to_string(i) + ".html", "<p>"});
  CreateWizard(true, BuildPackage(files));
  form->Edit1->SetText(folder.Path() + "web");
  ValueChangeListener listener(form->Gauge1);
  ASSERT_TRUE(listener.Hooked());
  Press(form->NextBtn);
  Press(form->RadioButton2);
  Press(form->NextBtn);
  Press(form->NextBtn);
  PumpMessages(200);
  ASSERT_EQ(form->NextBtn->Caption(), "完成") << (boxes.Boxes().empty() ? "" : boxes.Boxes()[0].text);
  EXPECT_EQ(ReadAccessibleWindow(form->Gauge1->Handle()).value, L"100%");
  const std::vector<std::wstring>& values = listener.Values();
  ASSERT_GE(values.size(), 2u) << "the run was heard";
  EXPECT_EQ(values, listener.Shown()) << "each value read is the percentage the gauge shows";
  // Unpacking, then placing: the gauge starts again once, and each part says each
  // percentage at most once, while the run steps through more than 800 entries.
  EXPECT_LE(values.size(), 2 * 101u);
  EXPECT_EQ(values.back(), L"100%");
  int restarts = 0, previous = -1;
  for (const std::wstring& value : values) {
    int percent = _wtoi(value.c_str());
    if (percent < previous) ++restarts;
    previous = percent;
  }
  EXPECT_LE(restarts, 1);
}

TEST_F(Accessibility, ThePickersLabelsNameItsPathBoxAndDescriptionList) {
  auto* picker = new ui::TFSelectPath(&application);
  EXPECT_EQ(ReadAccessibleWindow(picker->Edit1->Handle()).name, L"路径:");
  EXPECT_EQ(GetWindow(picker->ComboBox1->Handle(), GW_HWNDPREV), picker->FindControl("Label2")->Handle());
  EXPECT_LT(picker->Edit1->TabOrder(), picker->ComboBox1->TabOrder());
  EXPECT_LT(picker->ComboBox1->TabOrder(), picker->BitBtn2->TabOrder());
  EXPECT_LT(picker->BitBtn2->TabOrder(), picker->BitBtn1->TabOrder());
}
