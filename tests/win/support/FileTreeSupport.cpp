#include "tests/win/support/FileTreeSupport.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "tests/e2e/driver/Files.h"
#include "tests/win/support/WinTestSupport.h"
#include "toolkit/core/CodePage.h"

namespace testing_support {
namespace {

std::wstring W(const std::string& gbk) { return tk::ToWide(gbk); }

void Fail(const std::string& what) { throw std::runtime_error(what); }

// Waits up to two seconds for done(); a Unix program started from Wine may still be running
// when its process handle reports the end.
bool Await(bool (*done)(const std::wstring&), const std::wstring& path) {
  for (int i = 0; i < 200; ++i) {
    if (done(path)) return true;
    Sleep(10);
  }
  return false;
}

bool Exists(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(path.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}
bool Gone(const std::wstring& path) { return !Exists(path); }
bool IsRootFolder(const std::wstring& root) { return GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wine's name of a Windows path on the Unix side.
std::string UnixPath(const std::wstring& path) {
  using Converter = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Converter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return std::string();
  char* unix = convert(path.c_str());
  if (!unix) return std::string();
  std::string text = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return text;
}

// Under Wine a Unix program starts like any other; its exit code is not passed back.
void RunUnix(const std::wstring& commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process))
    return;
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::wstring Quoted(const std::string& text) { return L"\"" + tk::Utf8ToWide(text) + L"\""; }

void Walk(const std::wstring& folder, const std::wstring& relative, std::vector<std::string>& out) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(tk::FromWide(rel) + "\\");
      Walk(folder + L"\\" + name, rel, out);
    } else {
      out.push_back(tk::FromWide(rel) + "=" + ReadBytes(tk::FromWide(folder + L"\\" + name)));
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

}  // namespace

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot write " + path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

bool PathExists(const std::string& path) { return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) { return e2e::FolderExists(W(path)); }

void MakeFolders(const std::string& path) {
  std::wstring wide = W(path);
  for (size_t at = wide.find(L'\\', 3); at != std::wstring::npos; at = wide.find(L'\\', at + 1))
    CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(wide.c_str(), nullptr);
  if (!IsFolder(path)) Fail("cannot make " + path);
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((W(folder) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(tk::FromWide(name));
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void MakeProduct(const std::string& root) {
  MakeFolders(root + "\\WEB-INF\\classes");
  MakeFolders(root + "\\empty");
  MakeFolders(root + "\\運");
  WriteBytes(root + "\\index.html", "<html>");
  WriteBytes(root + "\\WEB-INF\\classes\\forum.properties", "home=c:\\quarn");
  WriteBytes(root + "\\運\\說明.txt", "說明");
}

const std::vector<std::string> kProductTree = {
    "WEB-INF\\", "WEB-INF\\classes\\", "WEB-INF\\classes\\forum.properties=home=c:\\quarn", "empty\\",
    "index.html=<html>", "運\\", "運\\說明.txt=說明"};

std::vector<std::string> TreeContents(const std::string& folder) {
  std::vector<std::string> out;
  std::wstring wide = W(folder);
  if (!wide.empty() && wide.back() == L'\\') wide.pop_back();
  Walk(wide, L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

std::string CurrentDir() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  return tk::FromWide(std::wstring(buffer, length));
}

void ChangeDir(const std::string& path) {
  if (!SetCurrentDirectoryW(W(path).c_str())) Fail("cannot change to " + path);
}

CurrentDirGuard::CurrentDirGuard() {
  wchar_t buffer[MAX_PATH + 1];
  saved_.assign(buffer, GetCurrentDirectoryW(MAX_PATH + 1, buffer));
}

CurrentDirGuard::~CurrentDirGuard() { SetCurrentDirectoryW(saved_.c_str()); }

ProgressControls::ProgressControls() {
  application.Initialize();
  form = new tk::Form(&application);
  form->SetClientSize(480, 240);
  gauge = new tk::Gauge(form, form);
  gauge->SetBounds(10, 10, 460, 20);
  label = new tk::Label(form, form);
  label->SetBounds(10, 40, 460, 20);
  memo = new tk::Memo(form, form);
  memo->SetBounds(10, 70, 460, 160);
  shown = std::make_unique<pub::ControlsProgress>(gauge, label, memo);
}

ProgressControls::~ProgressControls() = default;

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

EmptyDriveRoot::EmptyDriveRoot() {
  const wchar_t* prefix = _wgetenv(L"WINEPREFIX");
  if (!RunningUnderWine() || !prefix) return;
  holder_ = std::make_unique<TempFolder>();
  std::string folderUnix = UnixPath(W(holder_->Path()));
  for (wchar_t letter = L'Q'; letter <= L'Y' && root_.empty(); ++letter) {
    std::wstring root = std::wstring(1, letter) + L":\\";
    if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) continue;
    std::string link = tk::WideToUtf8(prefix) + "/dosdevices/" + static_cast<char>(towlower(letter)) + ":";
    RunUnix(L"Z:\\bin\\ln -sfn " + Quoted(folderUnix) + L" " + Quoted(link));
    if (Await(IsRootFolder, root)) {
      root_ = tk::FromWide(root);
      folder_ = holder_->Path();
      linkUnixPath_ = link;
    }
  }
}

EmptyDriveRoot::~EmptyDriveRoot() {
  if (linkUnixPath_.empty()) return;
  RunUnix(L"Z:\\bin\\rm -f " + Quoted(linkUnixPath_));
  Await(Gone, W(root_));
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
  std::wstring wideLink = W(link), wideTarget = W(target);
  if (RunningUnderWine()) {
    std::string targetUnix = UnixPath(wideTarget);
    // The link does not exist yet: name its folder and add the last component.
    size_t slash = wideLink.find_last_of(L'\\');
    std::string folderUnix = UnixPath(wideLink.substr(0, slash));
    if (targetUnix.empty() || folderUnix.empty()) return false;
    std::string linkUnix = folderUnix + "/" + tk::WideToUtf8(wideLink.substr(slash + 1));
    RunUnix(L"Z:\\bin\\ln -s " + Quoted(targetUnix) + L" " + Quoted(linkUnix));
    return Await(Exists, wideLink);
  }
  return CreateSymbolicLinkW(wideLink.c_str(), wideTarget.c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
}

void RemoveFolderLink(const std::string& link) {
  std::wstring wide = W(link);
  if (!RunningUnderWine()) {
    RemoveDirectoryW(wide.c_str());
    return;
  }
  size_t slash = wide.find_last_of(L'\\');
  std::string folderUnix = UnixPath(wide.substr(0, slash));
  if (folderUnix.empty()) return;
  RunUnix(L"Z:\\bin\\rm -f " + Quoted(folderUnix + "/" + tk::WideToUtf8(wide.substr(slash + 1))));
  Await(Gone, wide);
}

}  // namespace testing_support
