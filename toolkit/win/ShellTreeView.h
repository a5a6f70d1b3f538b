// A tree of the shell's folders from My Computer down: folders only, hidden ones too, with the
// shell's own icons. Levels are read from the shell when first expanded. Each node keeps the
// shell's absolute item id of its folder.
// https://learn.microsoft.com/windows/win32/api/shobjidl_core/nn-shobjidl_core-ishellfolder
#pragma once

#include <shlobj.h>

#include <functional>
#include <vector>
#include <string>

#include "toolkit/win/Control.h"

namespace tk {

class ShellTreeView : public Control {
 public:
  ShellTreeView(Component* owner, Control* parent);
  ~ShellTreeView() override;

  // The file-system path of the selected folder as the shell reports it; empty when nothing,
  // or a folder without a path (My Computer), is selected.
  std::string Path() const;
  // The same path as the shell names it, for a folder whose name GBK cannot hold.
  std::wstring WidePath() const;
  // Expands the tree down to the folder and selects it. A path the shell cannot resolve raises
  // EInvalidOperation naming it; the selection then stays as it was.
  void SetPath(const std::string& path);
  void ScrollSelectedIntoView();
  // The root node's item (My Computer), for tests.
  HTREEITEM RootItem() const { return root_; }
  HTREEITEM SelectedItem() const;

  // The selected node changed.
  std::function<void()> OnChange;

 protected:
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  HTREEITEM AddItem(HTREEITEM parent, PIDLIST_ABSOLUTE pidl);
  void FillChildren(HTREEITEM item);
  PIDLIST_ABSOLUTE ItemId(HTREEITEM item) const;

  HTREEITEM root_ = nullptr;
  ULONG changeNotify_ = 0;
};

}  // namespace tk
