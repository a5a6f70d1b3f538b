#include "toolkit/win/ShellTreeView.h"

#include <commctrl.h>
#include <shellapi.h>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/ComPtr.h"

namespace tk {
namespace {

constexpr int kIndent = 19;
constexpr UINT kShellChangeMessage = WM_APP + 20;

// What a node keeps: its folder's absolute item id, and whether its children were read.
struct Node {
  PIDLIST_ABSOLUTE pidl;
  bool filled;
};

Node* NodeOf(HWND tree, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  return TreeView_GetItem(tree, &data) ? reinterpret_cast<Node*>(data.lParam) : nullptr;
}


}  // namespace

ShellTreeView::ShellTreeView(Component* owner, Control* parent) : Control(owner, parent) {
  CreateHandle(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE);
  TreeView_SetIndent(hwnd_, kIndent);
  SHFILEINFOW info = {};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL);

  PIDLIST_ABSOLUTE computer = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(hwnd_, CSIDL_DRIVES, &computer))) {
    root_ = AddItem(TVI_ROOT, computer);
    FillChildren(root_);
    TreeView_Expand(hwnd_, root_, TVE_EXPAND);
    TreeView_SelectItem(hwnd_, root_);
  }
  // Follow folders made, removed and renamed anywhere, and drives coming and going.
  SHChangeNotifyEntry entry = {nullptr, TRUE};
  // New delivery: the message carries a handle for SHChangeNotification_Lock, as read below.
  changeNotify_ = SHChangeNotifyRegister(
      hwnd_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
      SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_RENAMEFOLDER | SHCNE_DRIVEADD | SHCNE_DRIVEREMOVED, kShellChangeMessage, 1,
      &entry);
}

ShellTreeView::~ShellTreeView() {
  if (changeNotify_) SHChangeNotifyDeregister(changeNotify_);
  if (hwnd_) TreeView_DeleteAllItems(hwnd_);  // frees every node (TVN_DELETEITEM)
}

HTREEITEM ShellTreeView::AddItem(HTREEITEM parent, PIDLIST_ABSOLUTE pidl) {
  SHFILEINFOW info = {}, open = {};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &open, sizeof open,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = info.szDisplayName;
  insert.item.cChildren = 1;  // corrected when the node is first expanded
  insert.item.iImage = info.iIcon;
  insert.item.iSelectedImage = open.iIcon;
  insert.item.lParam = reinterpret_cast<LPARAM>(new Node{pidl, false});
  return TreeView_InsertItem(hwnd_, &insert);
}

void ShellTreeView::FillChildren(HTREEITEM item) {
  Node* node = NodeOf(hwnd_, item);
  if (!node || node->filled) return;
  node->filled = true;
  ComPtr<IShellFolder> desktop, folder;
  ComPtr<IEnumIDList> children;
  bool any = false;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
      SUCCEEDED(desktop->BindToObject(node->pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))) &&
      folder->EnumObjects(hwnd_, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &children) == S_OK) {
    PITEMID_CHILD child;
    while (children->Next(1, &child, nullptr) == S_OK) {
      SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
      PCUITEMID_CHILD children1[] = {child};
      folder->GetAttributesOf(1, children1, &attributes);
      // Folders of the file system and what leads to them; not Control Panel and the like.
      if ((attributes & SFGAO_FOLDER) && (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) {
        AddItem(item, ILCombine(node->pidl, child));
        any = true;
      }
      CoTaskMemFree(child);
    }
  }
  if (any) {
    TreeView_SortChildren(hwnd_, item, FALSE);
  } else {
    TVITEMW data = {};
    data.mask = TVIF_CHILDREN;
    data.hItem = item;
    data.cChildren = 0;
    TreeView_SetItem(hwnd_, &data);
  }
}

PIDLIST_ABSOLUTE ShellTreeView::ItemId(HTREEITEM item) const {
  Node* node = item ? NodeOf(hwnd_, item) : nullptr;
  return node ? node->pidl : nullptr;
}

HTREEITEM ShellTreeView::SelectedItem() const { return TreeView_GetSelection(hwnd_); }

std::string ShellTreeView::Path() const { return FromWide(WidePath()); }

std::wstring ShellTreeView::WidePath() const {
  PIDLIST_ABSOLUTE pidl = ItemId(SelectedItem());
  wchar_t path[MAX_PATH] = {};
  if (!pidl || !SHGetPathFromIDListW(pidl, path)) return std::wstring();
  return path;
}

void ShellTreeView::SetPath(const std::string& path) {
  PIDLIST_ABSOLUTE target = nullptr;
  std::wstring wide = ToWide(path);
  if (wide.empty() || FAILED(SHParseDisplayName(wide.c_str(), nullptr, &target, 0, nullptr)))
    throw EInvalidOperation(Format("无法找到目录 \"%s\"", path.c_str()));
  HTREEITEM item = root_;
  while (item && !ILIsEqual(ItemId(item), target)) {
    FillChildren(item);
    HTREEITEM next = nullptr;
    for (HTREEITEM child = TreeView_GetChild(hwnd_, item); child; child = TreeView_GetNextSibling(hwnd_, child))
      if (ILIsParent(ItemId(child), target, FALSE)) {
        next = child;
        break;
      }
    if (next) TreeView_Expand(hwnd_, item, TVE_EXPAND);
    item = next;
  }
  ILFree(target);
  if (!item) throw EInvalidOperation(Format("无法找到目录 \"%s\"", path.c_str()));
  TreeView_SelectItem(hwnd_, item);
  TreeView_EnsureVisible(hwnd_, item);
}

void ShellTreeView::ScrollSelectedIntoView() {
  if (HTREEITEM item = SelectedItem()) TreeView_EnsureVisible(hwnd_, item);
}

bool ShellTreeView::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  auto* tree = reinterpret_cast<NMTREEVIEWW*>(lParam);
  *result = 0;
  switch (header->code) {
    case TVN_ITEMEXPANDINGW:
      if (tree->action & TVE_EXPAND) FillChildren(tree->itemNew.hItem);
      return true;
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange();
      return true;
    case TVN_DELETEITEMW: {
      auto* node = reinterpret_cast<Node*>(tree->itemOld.lParam);
      if (node) {
        ILFree(node->pidl);
        delete node;
      }
      return true;
    }
    case NM_RCLICK: {
      // A right-click selects the node under the mouse.
      TVHITTESTINFO hit = {};
      GetCursorPos(&hit.pt);
      ScreenToClient(hwnd_, &hit.pt);
      if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) TreeView_SelectItem(hwnd_, item);
      return true;
    }
    default:
      return false;
  }
}

bool ShellTreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != kShellChangeMessage) return false;
  // The parent of a changed folder is read again when it had been read before.
  LONG event = 0;
  PIDLIST_ABSOLUTE* pidls = nullptr;
  HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &pidls, &event);
  if (lock && pidls && pidls[0]) {
    PIDLIST_ABSOLUTE parent = ILClone(pidls[0]);
    ILRemoveLastID(parent);
    std::vector<HTREEITEM> pending{root_};
    while (!pending.empty()) {
      HTREEITEM item = pending.back();
      pending.pop_back();
      Node* node = NodeOf(hwnd_, item);
      if (!node || !node->filled) continue;
      if (ILIsEqual(node->pidl, parent)) {
        bool expanded = TreeView_GetItemState(hwnd_, item, TVIS_EXPANDED) & TVIS_EXPANDED;
        while (HTREEITEM child = TreeView_GetChild(hwnd_, item)) TreeView_DeleteItem(hwnd_, child);
        node->filled = false;
        FillChildren(item);
        if (expanded) TreeView_Expand(hwnd_, item, TVE_EXPAND);
        break;
      }
      for (HTREEITEM child = TreeView_GetChild(hwnd_, item); child; child = TreeView_GetNextSibling(hwnd_, child))
        pending.push_back(child);
    }
    ILFree(parent);
  }
  if (lock) SHChangeNotification_Unlock(lock);
  *result = 0;
  return true;
}

}  // namespace tk
