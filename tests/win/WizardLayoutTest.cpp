// The wizard window as a person sees it, at the DPI of the display it runs on (scripts/with-dpi
// runs this program at 96, 144 and 192): every control inside its parent, no two neighbours over
// each other, no text cut off in the font the control draws with, the window's size made for
// the DPI, the same tab order at every scale; and the window following a move to a monitor of
// another DPI. The geometry is read back from the windows, not from the layout table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "tests/win/support/WinTestSupport.h"
#include "tests/win/support/WizardFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/win/Dpi.h"
#include "toolkit/win/Image.h"
#include "ui/SelectPathForm.h"
#include "ui/SetupMainForm.h"

using namespace testing_support;

namespace {

// The pages in the order their tab order gives them.
const char* const kPages[] = {"WelcomePage",       "HadInstallPage",    "LicensePage",  "FullInstallPage_1",
                              "FullInstallPage_2", "FullInstallPage_3", "UninstallPage"};

// Siblings the layout puts over each other: the stack of pages, of which one shows at a time,
// and the page that only carries the product list and is never shown.
bool MayOverlap(const tk::Control& control) {
  return control.Parent()->Name() == "BasePanel" || control.Name() == "ChoosestylePage";
}

// What scripts/with-dpi set; 0 when the program runs without it.
int ExpectedDpi() {
  const char* value = std::getenv("QUARN_EXPECT_DPI");
  return value ? std::atoi(value) : 0;
}

RECT RectInParent(const tk::Control& control) {
  RECT rect;
  GetWindowRect(control.Handle(), &rect);
  MapWindowPoints(nullptr, control.Parent()->Handle(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Collect(tk::Control* parent, std::vector<tk::Control*>& into) {
  for (tk::Control* child : parent->Controls()) {
    into.push_back(child);
    Collect(child, into);
  }
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// The text's extent in the font the control draws with.
SIZE TextExtent(HWND window, const std::wstring& text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

// The height a label's text takes when the label wraps it at its width, as STATIC does.
int WrappedHeight(HWND window, const std::wstring& text, int width) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT rect = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return rect.right > width ? INT_MAX : rect.bottom;  // a word wider than the label is cut
}

std::wstring WithoutAccelerator(std::wstring text) {
  for (size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 1)) text.erase(at, 1);
  return text;
}

// The window's class in lower case: "static", "button" …
std::string WindowClass(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  CharLowerW(name);
  return tk::WideToUtf8(name);
}

// The text of a label, button or radio button fits the control, measured in the font it draws with.
void ExpectTextFits(const tk::Control& control, int width, int height, int dpi) {
  HWND window = control.Handle();
  const std::wstring text = WithoutAccelerator(WindowText(window));
  const std::string kind = WindowClass(window);
  if (text.empty() || (kind != "static" && kind != "button")) return;
  const SIZE extent = TextExtent(window, text);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (kind == "static") {
    // One line where it is wide enough, else the lines it wraps into.
    const int needed = extent.cx <= width ? extent.cy : WrappedHeight(window, text, width);
    EXPECT_LE(needed, height) << tk::WideToUtf8(text);
  } else if ((style & BS_TYPEMASK) == BS_RADIOBUTTON) {
    // The round box and the gap after it come before the text.
    const int box = tk::SystemMetricForDpi(SM_CXMENUCHECK, dpi) + tk::ScaleToDpi(4, dpi);
    EXPECT_LE(box + extent.cx, width) << tk::WideToUtf8(text);
    EXPECT_LE(extent.cy, height) << tk::WideToUtf8(text);
  } else {
    // Inside the button's raised edge, with a little room.
    const int edge = tk::ScaleToDpi(3, dpi);
    EXPECT_LE(extent.cx + 2 * edge, width) << tk::WideToUtf8(text);
    EXPECT_LE(extent.cy + 2 * edge, height) << tk::WideToUtf8(text);
  }
}

// Everything a person would see wrong in a form at its present DPI: a control outside its
// parent, two neighbours over each other (but those mayOverlap allows), text cut off.
template <typename Allowed>
void ExpectEverythingFits(tk::Form& form, Allowed mayOverlap) {
  const int dpi = form.Dpi();
  std::vector<tk::Control*> controls;
  Collect(&form, controls);
  for (tk::Control* control : controls) {
    SCOPED_TRACE(control->Name() + " at " + std::to_string(dpi) + " DPI");
    const RECT rect = RectInParent(*control);
    RECT parent;
    GetClientRect(control->Parent()->Handle(), &parent);
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, parent.right);
    EXPECT_LE(rect.bottom, parent.bottom);
    EXPECT_GT(rect.right - rect.left, 0);
    if (!mayOverlap(*control))
      for (tk::Control* sibling : control->Parent()->Controls()) {
        if (sibling == control || mayOverlap(*sibling)) continue;
        const RECT other = RectInParent(*sibling);
        RECT common;
        EXPECT_FALSE(IntersectRect(&common, &rect, &other)) << "over " << sibling->Name();
      }
    ExpectTextFits(*control, rect.right - rect.left, rect.bottom - rect.top, dpi);
  }
}

class WizardLayout : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    CreateWizard(false);  // no Setup.pak beside it: all seven pages stay
    form->OnShow = [] {};  // without a package the window would close when shown
    form->Show();
    PumpMessages(100);
  }

  // Names of the controls Tab visits on each page, from the first.
  std::vector<std::string> TabWalks() {
    std::vector<std::string> walks;
    for (int page = 0; page < static_cast<int>(form->BasePanel->Controls().size()); ++page) {
      form->ShowPage(page, true);
      std::string walk;
      HWND first = GetNextDlgTabItem(form->Handle(), nullptr, FALSE);
      HWND at = first;
      for (int steps = 0; at && steps < 20; ++steps) {
        tk::Control* control = tk::Control::FromHandle(at);
        walk += (walk.empty() ? "" : " ") + (control ? control->Name() : std::string("?"));
        at = GetNextDlgTabItem(form->Handle(), at, FALSE);
        if (at == first) break;
      }
      walks.push_back(kPages[page] + std::string(": ") + walk);
    }
    form->ShowPage(0, true);
    return walks;
  }

  void ExpectSizedFor(int dpi) {
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, tk::ScaleToDpi(ui::kWizardClientWidth, dpi));
    EXPECT_EQ(client.bottom, tk::ScaleToDpi(ui::kWizardClientHeight, dpi));
    // Fonts made for the DPI: the form's 12 pixels and the titles' 14.
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Label16->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -tk::ScaleToDpi(12, dpi));
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Label23->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -tk::ScaleToDpi(14, dpi));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    // Each picture drawn for the size it is shown at, never a smaller one stretched. A picture
    // is made when it is painted: its page is shown first.
    const std::pair<const char*, int> pictures[] = {{"WelcomeImage", 0}, {"LicensePagePicture", 2},
                                                    {"FullInstallPage_2Picture", 4}};
    for (const auto& [name, page] : pictures) {
      auto* image = form->Bind<tk::Image>(name);
      ASSERT_NE(image, nullptr) << name;
      form->ShowPage(page, true);
      UpdateWindow(form->Handle());
      RECT area;
      GetClientRect(image->Handle(), &area);
      EXPECT_EQ(image->PictureSize().cx, area.right) << name << " at " << dpi;
      EXPECT_EQ(image->PictureSize().cy, area.bottom) << name << " at " << dpi;
    }
    form->ShowPage(0, true);
  }

  // What the system sends when the window moves to a monitor of that DPI: the new DPI and the
  // outer rectangle it suggests, here the one a window of the design's client size takes there.
  // The frame stays the one the system draws now: no monitor really changed.
  RECT MoveToDpi(int dpi) {
    RECT outer;
    GetWindowRect(form->Handle(), &outer);
    RECT suggested = {0, 0, tk::ScaleToDpi(ui::kWizardClientWidth, dpi), tk::ScaleToDpi(ui::kWizardClientHeight, dpi)};
    tk::AdjustWindowRectForDpi(&suggested, static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_STYLE)),
                               static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_EXSTYLE)),
                               tk::WindowDpi(form->Handle()));
    OffsetRect(&suggested, outer.left - suggested.left + 10, outer.top - suggested.top + 10);
    SendMessageW(form->Handle(), tk::kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages(50);
    return suggested;
  }
};

}  // namespace

TEST_F(WizardLayout, RunsAtTheDisplaysDpi) {
  if (ExpectedDpi() == 0) GTEST_SKIP() << "not started by scripts/with-dpi";
  EXPECT_EQ(form->Dpi(), ExpectedDpi()) << "the window is not shown at the display's DPI";
  EXPECT_EQ(tk::WindowDpi(form->Handle()), ExpectedDpi());
}

TEST_F(WizardLayout, OpensOnTheWelcomePageWithNextAsTheDefault) {
  EXPECT_EQ(VisiblePages(), "WelcomePage");
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_EQ(form->DefaultButton(), form->NextBtn);
  EXPECT_EQ(form->CancelButton(), form->CloseBtn);
  EXPECT_TRUE(form->RadioButton1->Checked()) << "the agreement starts declined";
  EXPECT_TRUE(form->RadioButton3->Checked());
  EXPECT_FALSE(IsWindowVisible(form->ChoosestylePage->Handle()));
  EXPECT_EQ(form->Caption(), "Quarn软件安装系统(V2.0) ");
}

TEST_F(WizardLayout, EveryPageFitsItsWindowAtTheDisplaysDpi) {
  ExpectSizedFor(form->Dpi());
  ExpectEverythingFits(*form, MayOverlap);
}

TEST_F(WizardLayout, TabVisitsTheSameControlsInTheSameOrderAtEveryScale) {
  // From the button bar (Back is off on the first page) into the page, then round again.
  const std::vector<std::string> expected = {
      "WelcomePage: NextBtn CloseBtn Memo1",
      "HadInstallPage: NextBtn CloseBtn RadioButton3 RadioButton4 RadioButton5",
      "LicensePage: NextBtn CloseBtn Memo2 RadioButton2 RadioButton1",
      "FullInstallPage_1: NextBtn CloseBtn Edit1 SpeedButton1",
      "FullInstallPage_2: NextBtn CloseBtn Memo3",
      "FullInstallPage_3: NextBtn CloseBtn",
      "UninstallPage: NextBtn CloseBtn",
  };
  EXPECT_EQ(TabWalks(), expected) << "at " << form->Dpi() << " DPI";
  MoveToDpi(form->Dpi() == 192 ? 120 : form->Dpi() + 48);
  EXPECT_EQ(TabWalks(), expected) << "at " << form->Dpi() << " DPI";
}

TEST_F(WizardLayout, MovedToAMonitorOfAnotherDpiTheLayoutFollows) {
  const int started = form->Dpi();
  std::map<std::string, RECT> before;
  std::vector<tk::Control*> controls;
  Collect(form, controls);
  for (tk::Control* control : controls) before[control->Name()] = RectInParent(*control);

  // 96 to 144 to 192, 144 to 192, 192 to 120 (125 %).
  const int other = started == 192 ? 120 : started + 48;
  const RECT suggested = MoveToDpi(other);
  EXPECT_EQ(form->Dpi(), other);
  RECT outer;
  GetWindowRect(form->Handle(), &outer);
  EXPECT_TRUE(EqualRect(&outer, &suggested)) << "the suggested rectangle is taken as it is";
  ExpectSizedFor(other);
  ExpectEverythingFits(*form, MayOverlap);
  const RECT next = RectInParent(*form->NextBtn);
  EXPECT_EQ(next.right - next.left, tk::ScaleToDpi(75, other));
  EXPECT_EQ(next.bottom - next.top, tk::ScaleToDpi(25, other));

  // And back: every control where it was, with nothing gained or lost on the way.
  MoveToDpi(started);
  ExpectSizedFor(started);
  for (tk::Control* control : controls) {
    const RECT now = RectInParent(*control);
    EXPECT_TRUE(EqualRect(&now, &before[control->Name()])) << control->Name();
  }
}

// The folder picker the folder page opens, at the same DPI: nothing of it lies over another.
TEST_F(WizardLayout, TheFolderPickerFitsItsWindowAtTheDisplaysDpi) {
  auto* picker = new ui::TFSelectPath(form);
  EXPECT_EQ(picker->Dpi(), form->Dpi());
  RECT client;
  GetClientRect(picker->Handle(), &client);
  EXPECT_EQ(client.right, tk::ScaleToDpi(478, picker->Dpi()));
  EXPECT_EQ(client.bottom, tk::ScaleToDpi(440, picker->Dpi()));
  ExpectEverythingFits(*picker, [](const tk::Control&) { return false; });
}

TEST_F(WizardLayout, ScreenshotsOfEveryPage) {
  std::string folderForShots = ShotFolder();
  form->Label32->SetCaption("2.0.0");
  form->Label17->SetCaption("c:\\quarn\\eforum\\index.html");
  for (int i = 0; i < 12; ++i) form->Memo3->AddLine("c:\\quarn\\eforum\\WEB-INF\\classes\\file" + std::to_string(i) + ".class");
  form->Gauge1->SetMaxValue(40);
  form->Gauge1->SetProgress(17);
  form->Label37->SetCaption("c:\\quarn\\MySQL5\\data\\ibdata1");
  form->Gauge2->SetMaxValue(3);
  form->Gauge2->SetProgress(2);
  for (int index = 0; index < 7; ++index) {
    form->ShowPage(index, true);
    PumpMessages(150);
    Capture shot = CaptureWindow(form->Handle());
    ASSERT_GT(shot.width, 20) << "nothing captured";
    // Something is drawn: the page is not one flat colour.
    unsigned first = shot.At(shot.width / 2, shot.height / 3);
    bool varied = false;
    for (int y = 40; y < shot.height - 60 && !varied; y += 3)
      for (int x = 10; x < shot.width - 10 && !varied; x += 3) varied = shot.At(x, y) != first;
    EXPECT_TRUE(varied) << kPages[index];
    if (!folderForShots.empty())
      shot.SaveBmp(folderForShots + "/page-" + std::to_string(index) + "-" + kPages[index] + ".bmp");
  }
}
