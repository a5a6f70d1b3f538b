// The page stack of the wizard window.
#include "ui/SetupMainForm.h"

namespace ui {

void TfSetupMainForm::ShowPage(int pageIndex, bool show) {
  for (tk::Control* page : BasePanel->Controls()) page->SetVisible(page->TabOrder() == pageIndex ? show : !show);
}

void TfSetupMainForm::ReleasePage(tk::Panel*& page) {
  if (!page) return;
  delete page;  // its controls go with it, and leave the form's components
  page = nullptr;
  BindMembers();
}

}  // namespace ui
