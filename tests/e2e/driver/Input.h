// Working another program's controls the way a person does. Everything is posted, never sent:
// a click that opens a message box must not wait for the box to be answered.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// A mouse click on a button or radio button: it takes the focus, as under a real mouse, so the
// control that had the focus sees it leave.
void Click(HWND button);

// A mouse click inside a control at a point of its client area (an edit box takes the focus
// and the caret).
void ClickAt(HWND control, int x, int y);

// Selects the whole text of an edit box and types `gbk` over it, one character at a time.
void TypeOver(HWND edit, const std::string& gbk);
// The same for a text GBK may not hold (a Hangul folder name).
void TypeOver(HWND edit, const std::wstring& text);

// A key pressed and released while `target` has the focus (Tab moves the focus on).
void PressKey(HWND target, UINT virtualKey);

}  // namespace e2e
