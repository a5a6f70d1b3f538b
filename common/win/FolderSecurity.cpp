// https://learn.microsoft.com/windows/win32/api/aclapi/nf-aclapi-setnamedsecurityinfow
// https://learn.microsoft.com/windows/win32/secauthz/security-descriptor-string-format
#include "common/win/FolderSecurity.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <memory>

#include "common/portable/PathText.h"
#include "common/win/FileTree.h"
#include "common/win/SystemFolders.h"
#include "common/win/WalkSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace pub {
namespace {

// A security descriptor made from SDDL, freed with LocalFree.
class Descriptor {
 public:
  explicit Descriptor(const char* sddl) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(tk::ToWide(sddl).c_str(), SDDL_REVISION_1, &sd_,
                                                              nullptr))
      error_ = GetLastError();
  }
  ~Descriptor() {
    if (sd_) LocalFree(sd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  PSECURITY_DESCRIPTOR Get() const { return sd_; }
  DWORD Error() const { return error_; }

 private:
  PSECURITY_DESCRIPTOR sd_ = nullptr;
  DWORD error_ = ERROR_SUCCESS;
};

DWORD Protect(const std::wstring& folder, const Descriptor& descriptor) {
  if (!descriptor.Get()) return descriptor.Error();
  PSID owner = nullptr;
  PACL dacl = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor.Get(), &owner, &defaulted) ||
      !GetSecurityDescriptorDacl(descriptor.Get(), &present, &dacl, &defaulted))
    return GetLastError();
  std::wstring path = folder;  // SetNamedSecurityInfoW takes a non-const name
  return SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                   PROTECTED_DACL_SECURITY_INFORMATION,
                               owner, nullptr, dacl, nullptr);
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
  BYTE buffer[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof buffer;
  return CreateWellKnownSid(type, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

bool IsOurAccount(PSID sid) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  const bool ours = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                    EqualSid(sid, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
  CloseHandle(token);
  return ours;
}

}  // namespace

std::string ApplyFolderProtection(const FolderProtection& protection) {
  const Descriptor descriptor(protection.sddl.c_str());
  for (const std::string& folder : protection.folders) {
    const DWORD result = Protect(tk::ToWide(folder), descriptor);
    if (result != ERROR_SUCCESS) return folder + "：" + tk::SysErrorMessage(result);
  }
  return std::string();
}

bool CreateProtectedFolder(const std::string& folder, unsigned long* error) {
  const std::wstring path = tk::ToWide(folder);
  // A program that may not name Administrators as owner (one started without elevation, as
  // tests may be) owns the new folder itself: nobody else can have changed it in between.
  const std::string sddl = kProtectedFolderSddl;
  for (const std::string& form : {sddl, sddl.substr(sddl.find("D:"))}) {
    const Descriptor descriptor(form.c_str());
    if (!descriptor.Get()) {
      *error = descriptor.Error();
      return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.Get(), FALSE};
    if (CreateDirectoryW(path.c_str(), &attributes)) return true;
    *error = GetLastError();
    if (*error != ERROR_INVALID_OWNER) return false;
  }
  return false;
}

std::vector<std::string> FolderEntryNames(const std::string& folder) {
  std::vector<std::string> names;
  walk::Listing listing(walk::JoinPath(tk::ToWide(folder), L"*"));
  while (listing.Next()) names.push_back(tk::FromWide(listing.Entry().cFileName));
  return names;
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool OwnedByUs(const std::wstring& path) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  const bool ours = owner && (IsWellKnown(owner, WinLocalSystemSid) || IsWellKnown(owner, WinBuiltinAdministratorsSid) ||
                              IsOurAccount(owner));
  LocalFree(descriptor);
  return ours;
}

namespace {

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
  return path.size() > folder.size() && _wcsnicmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

}  // namespace

std::string UnsafeTempFolderOf(const std::wstring& path) {
  wchar_t temp[MAX_PATH + 2] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH + 1) return std::string();
  std::wstring tempFolder = LongFolderName(std::wstring(temp));
  if (tempFolder.back() != L'\\') tempFolder += L'\\';
  const std::wstring full = LongFolderName(path);
  if (!StartsWithFolder(full, tempFolder)) return std::string();
  // Each folder below the temporary folder, down to the file's own.
  for (size_t cut = full.find(L'\\', tempFolder.size()); cut != std::wstring::npos; cut = full.find(L'\\', cut + 1)) {
    const std::wstring folder = full.substr(0, cut);
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) break;  // nothing there yet to lead elsewhere
    if (IsLink(folder) || !OwnedByUs(folder))
      return "文件夹 " + tk::FromWide(folder) + " 是一个链接，或者属于其他用户：安装程序不在这样的临时文件夹中写入文件。";
  }
  return std::string();
}

std::string MakeFreshPrivateFolder(const std::string& folder) {
  const std::string path = WithoutTrailingBackslash(folder);
  const std::wstring wide = tk::ToWide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // A link goes as a link (removing a junction or a folder link leaves its target alone);
    // a folder goes with what it holds, links inside removed as links; a file goes.
    BOOL removed = FALSE;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
      removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(wide.c_str()) : DeleteFileW(wide.c_str());
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      removed = DeleteFolderTree(path, nullptr);
    else
      removed = SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(wide.c_str());
    const DWORD removeError = removed ? ERROR_SUCCESS : GetLastError();
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const std::string why = removeError != ERROR_SUCCESS ? "（" + tk::SysErrorMessage(removeError) + "）" : "";
      return "临时文件夹 " + path + " 已经存在，而且无法删除" + why +
             "。为了安全，安装程序只在自己新建的临时文件夹中工作：请删除它（它可能是指向其他文件夹的链接）后重新运行本程序。";
    }
  }
  unsigned long error = 0;
  if (CreateProtectedFolder(path, &error)) return std::string();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
    return "临时文件夹 " + path + " 在安装程序删除它之后又被其他程序建立。为了安全，安装程序不使用别人建立的临时文件夹，"
           "安装已停止。请确认没有其他程序在使用它后重新运行本程序。";
  return "无法建立临时文件夹 " + path + "：" + tk::SysErrorMessage(error);
}

}  // namespace pub
