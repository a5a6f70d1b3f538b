#include "tests/win/support/WizardFixture.h"

#include <filesystem>
#include <fstream>

#include "toolkit/core/CodePage.h"
#include "toolkit/win/Registry.h"
#include "toolkit/win/Shell.h"

namespace testing_support {

void WizardFixture::SetUp() {
  // An earlier test's window may have ended its application: its quit message and whatever
  // else it left in this thread's queue must not reach this test's loops.
  MSG left;
  while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE)) {
  }
  CleanInstallRecord();
  application.Initialize();
  folders = {folder.Path(), folder.Path() + "staging\\", std::wstring()};
  tk::SetAddressOpener([this](HWND, const std::string& address, const std::wstring& in) {
    opened.push_back(address);
    openedIn = in;
    return shellFailure;
  });
}

void WizardFixture::TearDown() {
  tk::SetAddressOpener(nullptr);
  CleanInstallRecord();
}

ui::TfSetupMainForm* WizardFixture::CreateWizard(bool withPackage, const std::string& packageBytes) {
  if (withPackage) {
    std::ofstream pak(std::filesystem::path(tk::ToWide(folder.Path() + "Setup.pak")), std::ios::binary);
    pak << packageBytes;
  }
  form = application.CreateForm<ui::TfSetupMainForm>(folders);
  return form;
}

void WizardFixture::Press(tk::Control* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

std::string WizardFixture::VisiblePages() const {
  std::string visible;
  for (tk::Control* page : form->BasePanel->Controls())
    if (page->Visible()) visible += (visible.empty() ? "" : ",") + page->Name();
  return visible;
}

}  // namespace testing_support
