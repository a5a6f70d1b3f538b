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
  // Its controls go with it; forget them by name too.
  for (auto it = controls_.begin(); it != controls_.end();) {
    tk::Control* c = it->second;
    while (c && c != page) c = c->Parent();
    it = c ? controls_.erase(it) : std::next(it);
  }
  delete page;
  page = nullptr;
  BindMembers();
}

tk::Control* TfSetupMainForm::FindControl(const std::string& name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

}  // namespace ui
