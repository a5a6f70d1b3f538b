// Finding another program's windows and reading them, as a person sees them: top-level
// windows by class and caption, controls by class and text. Texts are GBK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::wstring ClassOf(HWND window);

// The window's text through WM_GETTEXT (an edit box's current contents too). Empty when the
// window does not answer within a few seconds.
std::string TextOf(HWND window);
// The same text as the window holds it, for names GBK may not hold.
std::wstring WideTextOf(HWND window);

// Shown and not hidden by a hidden parent.
bool IsShown(HWND window);
bool IsEnabled(HWND window);

// Shown top-level windows of a process, of one class (any class when null).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className = nullptr);

// Every window below `parent`, at any depth, of one class (any class when null).
std::vector<HWND> Descendants(HWND parent, const wchar_t* className = nullptr);

// The first shown descendant of that class whose text is `text`; null when there is none.
HWND FindShown(HWND parent, const wchar_t* className, const std::string& text);

// The texts of the shown descendants of a class, in window order; for failure reports.
std::vector<std::string> ShownTexts(HWND parent, const wchar_t* className);

// The control that has the keyboard focus in the thread that owns `window`.
HWND FocusedControl(HWND window);

// GBK to UTF-8, for readable failure messages.
std::string Readable(const std::string& gbk);
std::string Readable(const std::vector<std::string>& gbkTexts);

}  // namespace e2e
