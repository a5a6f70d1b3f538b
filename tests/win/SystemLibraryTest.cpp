// DLLs of the system folder: taken by full path, never from the program's folder, and a load
// by bare name restricted to the system folder once the program has asked for it.
#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include "tests/e2e/driver/Files.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/SystemLibrary.h"

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = towlower(c);
  return text;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return Lower(folder) + L"\\";
}

// The folder of the module that holds the code at `address`, lower case, ending in '\'.
std::wstring FolderOfModuleAt(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const wchar_t*>(address), &module))
    return L"";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring folder = Lower(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

TEST(SystemLibrary, TakesTheDllAndItsFunctionsFromTheSystemFolder) {
  tk::SystemLibrary version(L"version.dll");
  auto sizeOfInfo = version.Get<decltype(&GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
  EXPECT_EQ(FolderOfModuleAt(reinterpret_cast<const void*>(sizeOfInfo)), SystemFolder());
  DWORD ignored = 0;
  EXPECT_GT(sizeOfInfo((SystemFolder() + L"kernel32.dll").c_str(), &ignored), 0u) << "the function does not work";

  try {
    version.Get<void (*)()>("NoSuchFunction");
    ADD_FAILURE() << "a missing function was found";
  } catch (const tk::EInOutError& error) {
    EXPECT_NE(error.Message().find("version.dll"), std::string::npos) << error.Message();
    EXPECT_NE(error.Message().find("NoSuchFunction"), std::string::npos) << error.Message();
  }
}

// A DLL that lies only beside the test program: a load by bare name finds it there until the
// search is restricted; the system library never does, and says which file it looked for and why not.
TEST(SystemLibrary, NeverTakesADllFromTheProgramsFolderAndNeitherDoesALoadByNameOnceRestricted) {
  const std::wstring beside = e2e::ProgramFolder() + L"quarn-beside.dll";
  ASSERT_TRUE(CopyFileW((e2e::ProgramFolder() + L"planted\\version.dll").c_str(), beside.c_str(), FALSE))
      << "the planted DLLs are missing (build them: make win)";
  HMODULE found = LoadLibraryW(L"quarn-beside.dll");
  EXPECT_NE(found, nullptr) << "a DLL beside the program is not found by bare name at all: this test tells nothing";
  if (found) FreeLibrary(found);

  try {
    tk::SystemLibrary library(L"quarn-beside.dll");
    ADD_FAILURE() << "the DLL beside the program was taken";
  } catch (const tk::EInOutError& error) {
    EXPECT_NE(Lower(tk::ToWide(error.Message())).find(SystemFolder() + L"quarn-beside.dll"), std::wstring::npos)
        << error.Message();
    EXPECT_NE(error.Message().find(tk::SysErrorMessage(ERROR_MOD_NOT_FOUND)), std::string::npos) << error.Message();
    EXPECT_EQ(error.ErrorCode(), static_cast<uint32_t>(ERROR_MOD_NOT_FOUND));
  }

  // What setup.exe does first; the rest of this program then runs as setup.exe does.
  tk::RestrictDllSearchToSystem();
  HMODULE restricted = LoadLibraryW(L"quarn-beside.dll");
  EXPECT_EQ(restricted, nullptr) << "a load by bare name still searches the program's folder";
  if (restricted) FreeLibrary(restricted);
  EXPECT_NE(LoadLibraryW(L"version.dll"), nullptr) << "a system DLL is no longer found by bare name";
  DeleteFileW(beside.c_str());
}
