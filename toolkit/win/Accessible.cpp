// https://learn.microsoft.com/windows/win32/api/oleacc/nf-oleacc-lresultfromobject
// https://learn.microsoft.com/windows/win32/winauto/event-constants
#include "toolkit/win/Accessible.h"

#include <objbase.h>

#include "toolkit/core/SystemLibrary.h"
#include "toolkit/win/AccessibleObject.h"
#include "toolkit/win/Control.h"

namespace tk {
namespace {

// oleacc.dll is no KnownDLL: taken from the system folder when a screen reader first asks,
// never imported (core/SystemLibrary.h).
struct OleaccFunctions {
  decltype(&::LresultFromObject) LresultFromObject;
  decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject;
};

const OleaccFunctions& Oleacc() {
  static const OleaccFunctions functions = [] {
    static const SystemLibrary oleacc(L"oleacc.dll");
    OleaccFunctions loaded;
    oleacc.Bind(loaded.LresultFromObject, "LresultFromObject");
    oleacc.Bind(loaded.CreateStdAccessibleObject, "CreateStdAccessibleObject");
    return loaded;
  }();
  return functions;
}

}  // namespace

AccessibleClient::AccessibleClient(std::function<AccessibleDescription()> describe) : describe_(std::move(describe)) {}

AccessibleClient::~AccessibleClient() { Disconnect(); }

bool AccessibleClient::Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // The object id is a 32-bit value; a 64-bit lParam may carry it without sign extension.
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return false;
  try {
    const OleaccFunctions& oleacc = Oleacc();
    if (!object_) {
      IAccessible* standard = nullptr;
      if (FAILED(oleacc.CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&standard))) ||
          !standard)
        return false;
      object_ = new AccessibleObject(hwnd, standard, this);
    }
    // Adds the reference the client will hold; ours stays until Disconnect.
    *result = oleacc.LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
    return true;
  } catch (...) {
    // Without oleacc.dll, or without memory, the window is as inaccessible as it was before:
    // no error box for a screen reader's question.
    return false;
  }
}

void AccessibleClient::Disconnect() {
  if (!object_) return;
  AccessibleObject* object = object_;
  object_ = nullptr;
  object->Disconnect();
  // Lets go of the references the stubs of other processes' clients hold.
  CoDisconnectObject(static_cast<IAccessible*>(object), 0);
  object->Release();
}

void AssociateLabel(Control& label, Control& named) {
  if (!label.Parent() || label.Parent() != named.Parent()) return;
  int place = named.TabOrder();
  if (label.TabOrder() < place) --place;  // the label leaves its own place first
  label.SetTabOrder(place);
}

void NotifyValueChanged(HWND hwnd) {
  if (hwnd) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tk
