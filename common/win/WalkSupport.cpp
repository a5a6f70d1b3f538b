#include "common/win/WalkSupport.h"

#include <vector>

#include "common/portable/PathText.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Application.h"

namespace pub {
namespace walk {

std::wstring AbsolutePath(const std::wstring& path) {
  bool driveAbsolute = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  bool unc = path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
  if (driveAbsolute || unc || path.empty()) return path;
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (!length) return path;
  std::vector<wchar_t> buffer(length + 1);
  length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  return std::wstring(buffer.data(), length);
}

std::string WithoutTrailingSeparator(const std::string& path) {
  // "X:\" stays: without its '\' it would name the drive's current folder, not its root.
  if (path.size() == 3 && path[1] == ':' && path[2] == '\\') return path;
  return WithoutTrailingBackslash(path);
}

std::wstring JoinPath(const std::wstring& folder, const wchar_t* name) {
  if (!folder.empty() && folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

// On a worker thread there is nothing to handle: the windows belong to the application's thread.
void ProcessPendingMessages() {
  tk::Application* application = tk::Application::Instance();
  if (application && application->OnItsThread()) application->ProcessMessages();
}

void KeepResponsive() {
  // Touched by the application's thread alone (see ProcessPendingMessages).
  tk::Application* application = tk::Application::Instance();
  if (!application || !application->OnItsThread()) return;
  static DWORD lastTurn = 0;
  DWORD now = GetTickCount();
  if (now - lastTurn < kResponsiveIntervalMs) return;
  lastTurn = now;
  ProcessPendingMessages();
}

bool PollUntil(const std::function<bool()>& done, unsigned timeoutMs, DWORD pollMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() - start >= timeoutMs) return false;
    KeepResponsive();
    Sleep(pollMs);
  }
}

Listing::Listing(const std::wstring& pattern) {
  // The basic information level skips the short names, which nothing here uses.
  handle_ = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry_, FindExSearchNameMatch, nullptr, 0);
  pending_ = handle_ != INVALID_HANDLE_VALUE;
  if (!pending_) error_ = GetLastError();
}

Listing::~Listing() { Close(); }

bool Listing::Next() {
  for (;;) {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    if (pending_) {
      pending_ = false;
    } else if (!FindNextFileW(handle_, &entry_)) {
      error_ = GetLastError();
      return false;
    }
    const wchar_t* name = entry_.cFileName;
    bool dots = name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
    if (!dots) return true;
  }
}

void Listing::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace walk
}  // namespace pub
