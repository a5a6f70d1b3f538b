// Reading a window's accessible object as a screen reader does (oleacc.dll, which a program
// using this links): name, role, value and state of the object itself. Texts are UTF-16, as
// the reader gets them.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace e2e {

inline VARIANT SelfChild() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

inline std::wstring TakeBstr(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return taken;
}

// Empty texts and 0 where the object has none; found is what AccessibleObjectFromWindow said.
struct AccessibleRead {
  HRESULT found = S_OK;
  std::wstring name, value;
  long role = 0, state = 0;
};

inline AccessibleRead ReadAccessible(IAccessible* object) {
  AccessibleRead read;
  BSTR text = nullptr;
  if (object->get_accName(SelfChild(), &text) == S_OK) read.name = TakeBstr(text);
  text = nullptr;
  if (object->get_accValue(SelfChild(), &text) == S_OK) read.value = TakeBstr(text);
  VARIANT number;
  VariantInit(&number);
  if (object->get_accRole(SelfChild(), &number) == S_OK && number.vt == VT_I4) read.role = number.lVal;
  VariantInit(&number);
  if (object->get_accState(SelfChild(), &number) == S_OK && number.vt == VT_I4) read.state = number.lVal;
  return read;
}

// The client area's object, as a reader asks for it (WM_GETOBJECT with OBJID_CLIENT).
inline HRESULT AccessibleOfWindow(HWND hwnd, IAccessible** object, LONG id = OBJID_CLIENT) {
  return AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(id), __uuidof(IAccessible), reinterpret_cast<void**>(object));
}

// The value of the object an event names, read in the event's hook as a reader does;
// "(unreadable)" when the object cannot be had or says no value.
inline std::wstring ReadEventValue(HWND hwnd, LONG objectId, LONG childId) {
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  std::wstring value = L"(unreadable)";
  if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(objectId), static_cast<DWORD>(childId), &object, &child))) {
    BSTR text = nullptr;
    if (object->get_accValue(child, &text) == S_OK) value = TakeBstr(text);
    object->Release();
  }
  return value;
}

inline AccessibleRead ReadAccessibleWindow(HWND hwnd) {
  IAccessible* object = nullptr;
  HRESULT found = AccessibleOfWindow(hwnd, &object);
  AccessibleRead read = SUCCEEDED(found) && object ? ReadAccessible(object) : AccessibleRead();
  read.found = object ? found : (FAILED(found) ? found : E_FAIL);
  if (object) object->Release();
  return read;
}

}  // namespace e2e
