// The C++ library looks through links on Windows, and Wine shows a Unix link to a file as a
// plain file; the final path the system resolves a name to tells either kind apart.
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getfinalpathnamebyhandlew
#include <windows.h>

#include "tools/quarnpak/Links.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {
namespace {

std::wstring FinalPath(const std::filesystem::path& path) {
  HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw ToolError("cannot read " + ShowPath(path));
  std::wstring final(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, &final[0], static_cast<DWORD>(final.size()), 0);
  if (length >= final.size()) {
    final.resize(length + 1);
    length = GetFinalPathNameByHandleW(handle, &final[0], static_cast<DWORD>(final.size()), 0);
  }
  CloseHandle(handle);
  if (length == 0 || length >= final.size()) throw ToolError("cannot read " + ShowPath(path));
  final.resize(length);
  return final;
}

}  // namespace

std::filesystem::path ResolvedFolder(const std::filesystem::path& folder) { return FinalPath(folder); }

bool IsLink(const std::filesystem::path& resolvedFolder, const std::filesystem::path& child,
            std::filesystem::path* resolvedChild) {
  DWORD attributes = GetFileAttributesW(child.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw ToolError("cannot read " + ShowPath(child));
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
  std::wstring expected = resolvedFolder.native();
  if (expected.empty() || expected.back() != L'\\') expected += L'\\';
  expected += child.filename().wstring();
  std::wstring final = FinalPath(child);
  if (CompareStringOrdinal(final.c_str(), -1, expected.c_str(), -1, TRUE) != CSTR_EQUAL) return true;
  *resolvedChild = std::move(final);
  return false;
}

}  // namespace qp
