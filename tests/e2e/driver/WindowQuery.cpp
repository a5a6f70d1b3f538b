// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-enumchildwindows
#include "tests/e2e/driver/WindowQuery.h"

#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

constexpr UINT kAnswerWait = 5000;

struct Search {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

bool ClassIs(HWND window, const wchar_t* className) {
  return !className || _wcsicmp(ClassOf(window).c_str(), className) == 0;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && ClassIs(window, search->className))
    search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (ClassIs(window, search->className)) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::string TextOf(HWND window) { return tk::FromWide(WideTextOf(window)); }

std::wstring WideTextOf(HWND window) {
  // Sent with a limit: the program under test may be busy with a run for a moment.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerWait, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                           kAnswerWait, &copied))
    return {};
  text.resize(copied);
  return text;
}

bool IsShown(HWND window) { return window && IsWindowVisible(window); }

bool IsEnabled(HWND window) { return window && IsWindowEnabled(window); }

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  Search search{processId, className, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND parent, const wchar_t* className) {
  Search search{0, className, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindShown(HWND parent, const wchar_t* className, const std::string& text) {
  for (HWND window : Descendants(parent, className))
    if (IsShown(window) && TextOf(window) == text) return window;
  return nullptr;
}

std::vector<std::string> ShownTexts(HWND parent, const wchar_t* className) {
  std::vector<std::string> texts;
  for (HWND window : Descendants(parent, className))
    if (IsShown(window)) texts.push_back(TextOf(window));
  return texts;
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string Readable(const std::string& gbk) {
  std::string utf8;
  return tk::GbkToUtf8(gbk, &utf8) ? utf8 : gbk;
}

std::string Readable(const std::vector<std::string>& gbkTexts) {
  std::string joined;
  for (const std::string& text : gbkTexts) joined += (joined.empty() ? "\"" : ", \"") + Readable(text) + "\"";
  return "[" + joined + "]";
}

}  // namespace e2e
