// What the folder-tree walks share: paths made absolute and joined, one folder listing, and a
// turn of the message loop. Paths here are UTF-16, so names
// that GBK cannot hold are still walked; GBK appears only in what is shown or logged.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pub {
namespace walk {

// Drive-absolute and UNC paths as given, anything else made absolute against the current
// directory once, when a walk starts.
std::wstring AbsolutePath(const std::wstring& path);
// The path without one trailing '\' (a trail byte 0x5C of a double-byte character is none);
// a drive root "X:\" is kept whole.
std::string WithoutTrailingSeparator(const std::string& path);

// folder + '\' + name, without doubling a '\' that ends folder (as "C:\" does).
std::wstring JoinPath(const std::wstring& folder, const wchar_t* name);

// Lets pending window messages run, when there is an application to run them and the caller
// is its thread; on a worker they do nothing.
void ProcessPendingMessages();
// The same, called once per file: lets messages run when kResponsiveIntervalMs have passed
// since it last did, so the window keeps up at a human rate without a turn of the message
// loop (a round trip to the window system) for every file.
constexpr DWORD kResponsiveIntervalMs = 25;
void KeepResponsive();

// Asks done() every pollMs until it is true or timeoutMs have passed, letting messages run
// between the asks; done()'s last answer.
bool PollUntil(const std::function<bool()>& done, unsigned timeoutMs, DWORD pollMs);

// The entries matching pattern (a folder's full path with "\*"), "." and ".." left out by the
// walker.
class Listing {
 public:
  explicit Listing(const std::wstring& pattern);
  ~Listing();
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;

  // False when the listing could not be started; Error() tells why.
  bool Started() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Moves to the next entry other than "." and ".."; false at the end or on a failure,
  // after which Error() is ERROR_NO_MORE_FILES or the failure's code.
  bool Next();
  const WIN32_FIND_DATAW& Entry() const { return entry_; }
  bool IsFolder() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  DWORD Error() const { return error_; }
  void Close();

 private:
  HANDLE handle_;
  WIN32_FIND_DATAW entry_;
  bool pending_;  // entry_ holds the first entry, not yet handed out
  DWORD error_ = ERROR_SUCCESS;
};

}  // namespace walk
}  // namespace pub
