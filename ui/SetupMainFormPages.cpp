// The page stack of the wizard window.
#include "ui/SetupMainForm.h"

namespace ui {

void TfSetupMainForm::ShowPage(int pageIndex, bool show) {
  for (tk::Control* page : BasePanel->Controls()) page->SetVisible(page->TabOrder() == pageIndex ? show : !show);
}

// The tab order of the first visible page in creation order; 0 when none is visible.
int TfSetupMainForm::CurrentPageIndex() const {
  for (tk::Control* page : BasePanel->Controls())
    if (page->Visible()) return page->TabOrder();
  return 0;
}

int TfSetupMainForm::PageCount() const { return static_cast<int>(BasePanel->Controls().size()); }

void TfSetupMainForm::ReleasePage(tk::Panel*& page) {
  if (!page) return;
  delete page;  // its controls go with it, and leave the form's components
  page = nullptr;
  BindMembers();
}

}  // namespace ui
