#include "toolkit/win/AccessibleObject.h"

#include <new>

#include "toolkit/core/CodePage.h"
#include "toolkit/win/Accessible.h"

namespace tk {
namespace {

// A COM method lets no exception out: a failed allocation is E_OUTOFMEMORY, anything else E_FAIL.
template <typename Call>
HRESULT Shielded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ToBstr(const std::wstring& text, BSTR* out) {
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring TextOfWindow(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], length + 1)));
  return text;
}

// A static text just before the window in z-order, which is also the tab order, is the label
// that names it, as for the system's own controls.
std::wstring LabelBefore(HWND hwnd) {
  HWND before = GetWindow(hwnd, GW_HWNDPREV);
  wchar_t className[16] = {};
  if (!before || !GetClassNameW(before, className, 16) || lstrcmpiW(className, L"Static") != 0) return std::wstring();
  return TextOfWindow(before);
}

}  // namespace

AccessibleObject::AccessibleObject(HWND hwnd, IAccessible* standard, const AccessibleClient* client)
    : hwnd_(hwnd), standard_(standard), client_(client) {}

AccessibleObject::~AccessibleObject() {
  if (standard_) standard_->Release();
}

void AccessibleObject::Disconnect() {
  client_ = nullptr;
  if (standard_) standard_->Release();
  standard_ = nullptr;
}

bool AccessibleObject::Connected() const { return client_ && standard_ && IsWindow(hwnd_); }

HRESULT AccessibleObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  if (iid == IID_IOleWindow) {
    *object = static_cast<IOleWindow*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  ULONG left = static_cast<ULONG>(InterlockedDecrement(&references_));
  if (left == 0) delete this;
  return left;
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// What the control itself answers.

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return standard_->get_accName(child, name);
  return Shielded([&]() -> HRESULT {
    std::wstring text = !client_->Name().empty() ? ToWide(client_->Name()) : TextOfWindow(hwnd_);
    if (text.empty()) text = LabelBefore(hwnd_);
    if (text.empty()) return S_FALSE;
    return ToBstr(text, name);
  });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return standard_->get_accValue(child, value);
  return Shielded([&]() -> HRESULT {
    AccessibleDescription description = client_->Describe();
    if (!description.value) return DISP_E_MEMBERNOTFOUND;
    return ToBstr(ToWide(description.value()), value);
  });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return standard_->get_accRole(child, role);
  return Shielded([&]() -> HRESULT {
    role->vt = VT_I4;
    role->lVal = client_->Describe().role;
    return S_OK;
  });
}

// The window's state as the system sees it (focus, unavailable, hidden), with the control's own.
HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return standard_->get_accState(child, state);
  return Shielded([&]() -> HRESULT {
    long own = client_->Describe().state;
    VARIANT system;
    VariantInit(&system);
    if (SUCCEEDED(standard_->get_accState(child, &system)) && system.vt == VT_I4) own |= system.lVal;
    VariantClear(&system);
    state->vt = VT_I4;
    state->lVal = own;
    return S_OK;
  });
}

HRESULT AccessibleObject::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = Connected() ? hwnd_ : nullptr;
  return *hwnd ? S_OK : CO_E_OBJNOTCONNECTED;
}
HRESULT AccessibleObject::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT AccessibleObject::put_accName(VARIANT, BSTR) { return Connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }
HRESULT AccessibleObject::put_accValue(VARIANT, BSTR) { return Connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }

// What the standard object answers. The out parameter is cleared first, so that a client
// never reads stale memory after a failure.

#define QUARN_PASS_ON(call, clear)              \
  clear;                                        \
  IAccessible* standard = Standard();           \
  if (!standard) return CO_E_OBJNOTCONNECTED;   \
  return standard->call

HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  QUARN_PASS_ON(get_accParent(parent), *parent = nullptr);
}
HRESULT AccessibleObject::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  QUARN_PASS_ON(get_accChildCount(count), *count = 0);
}
HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  QUARN_PASS_ON(get_accChild(child, object), *object = nullptr);
}
HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  QUARN_PASS_ON(get_accDescription(child, description), *description = nullptr);
}
HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  QUARN_PASS_ON(get_accHelp(child, help), *help = nullptr);
}
HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (!file || !topic) return E_POINTER;
  QUARN_PASS_ON(get_accHelpTopic(file, child, topic), (*file = nullptr, *topic = 0));
}
HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  QUARN_PASS_ON(get_accKeyboardShortcut(child, shortcut), *shortcut = nullptr);
}
HRESULT AccessibleObject::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  QUARN_PASS_ON(get_accFocus(focus), VariantInit(focus));
}
HRESULT AccessibleObject::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  QUARN_PASS_ON(get_accSelection(selection), VariantInit(selection));
}
HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  QUARN_PASS_ON(get_accDefaultAction(child, action), *action = nullptr);
}
HRESULT AccessibleObject::accSelect(long flags, VARIANT child) { QUARN_PASS_ON(accSelect(flags, child), (void)0); }
HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  QUARN_PASS_ON(accLocation(left, top, width, height, child), (*left = *top = *width = *height = 0));
}
HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  QUARN_PASS_ON(accNavigate(direction, start, end), VariantInit(end));
}
HRESULT AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  QUARN_PASS_ON(accHitTest(x, y, child), VariantInit(child));
}
HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) { QUARN_PASS_ON(accDoDefaultAction(child), (void)0); }

#undef QUARN_PASS_ON

}  // namespace tk
