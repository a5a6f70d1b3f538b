#include "tests/e2e/driver/Wizard.h"

#include <algorithm>

#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {

const char* const kWizardCaption = "Quarn软件安装系统(V2.0) ";

HWND FindWizard(DWORD processId) {
  for (HWND window : TopLevelWindows(processId, kWizardClass))
    if (TextOf(window) == kWizardCaption) return window;
  return nullptr;
}

Wizard::Wizard(DWORD processId, unsigned timeoutMs) {
  WaitUntil([&] { return (window_ = FindWizard(processId)) != nullptr; }, timeoutMs);
}

bool Wizard::Shown() const { return IsWindow(window_) && IsWindowVisible(window_); }

HWND Wizard::BarButton(int place) const {
  // The bar holds the button that reads "上一步"; its push buttons are the three.
  HWND back = FindShown(window_, L"Button", "上一步");
  if (!back) return nullptr;
  std::vector<HWND> buttons;
  for (HWND button : Descendants(GetParent(back), L"Button"))
    if (GetParent(button) == GetParent(back) && IsShown(button)) buttons.push_back(button);
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return place < static_cast<int>(buttons.size()) ? buttons[place] : nullptr;
}

std::string Wizard::NextCaption() const { return TextOf(NextButton()); }

void Wizard::Next() const { Click(NextButton()); }
void Wizard::Back() const { Click(BackButton()); }
void Wizard::Exit() const { Click(ExitButton()); }

bool Wizard::ShowsLabel(const std::string& text) const { return FindShown(window_, L"Static", text) != nullptr; }

bool Wizard::WaitForLabel(const std::string& text, unsigned timeoutMs) const {
  return WaitUntil([&] { return ShowsLabel(text); }, timeoutMs);
}

std::vector<std::string> Wizard::Labels() const { return ShownTexts(window_, L"Static"); }

HWND Wizard::Choice(const std::string& caption) const { return FindShown(window_, L"Button", caption); }

void Wizard::Choose(const std::string& caption) const { Click(Choice(caption)); }

bool Wizard::Chosen(const std::string& caption) const {
  HWND radio = Choice(caption);
  DWORD_PTR state = 0;
  return radio && SendMessageTimeoutW(radio, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state) &&
         state == BST_CHECKED;
}

HWND Wizard::FolderBox() const {
  std::vector<HWND> edits = Descendants(window_, L"Edit");
  return edits.empty() ? nullptr : edits.front();
}

HWND Wizard::FolderPickerButton() const {
  for (HWND button : Descendants(window_, L"Button"))
    if (TextOf(button) == "...") return button;
  return nullptr;
}

std::string Wizard::Folder() const { return TextOf(FolderBox()); }

void Wizard::TypeFolder(const std::string& text) const { TypeFolder(tk::ToWide(text)); }

void Wizard::TypeFolder(const std::wstring& text) const {
  HWND box = FolderBox();
  ClickAt(box, 4, 4);
  TypeOver(box, text);
}

bool Wizard::WaitForNext(const std::string& caption, unsigned timeoutMs) const {
  return WaitUntil([&] { return NextCaption() == caption && IsEnabled(NextButton()); }, timeoutMs);
}

}  // namespace e2e
