// RunAndWait: exit codes, programs that do not exist, and the current directory's part in
// finding the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win/ExternalCommands.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;
using pub::RunAndWait;

TEST(RunAndWait, ReturnsTheExitCodeOfTheCommand) {
  EXPECT_EQ(RunAndWait("cmd /c exit 3", SW_SHOW), 3u);
  EXPECT_EQ(RunAndWait("cmd /c exit 0", SW_SHOW), 0u);
}

TEST(RunAndWait, AProgramThatDoesNotExistGivesZero) {
  EXPECT_EQ(RunAndWait("quarn-no-such-program --install quarntest", SW_SHOW), 0u);
  EXPECT_EQ(RunAndWait("", SW_SHOW), 0u);
}

// Callers name a tool without its folder after making that folder current.
TEST(RunAndWait, FindsAProgramInTheCurrentDirectory) {
  TempFolder temp;
  CurrentDirGuard guard;
  MakeFolders(temp.Path() + "安装\\bin");
  WriteBytes(temp.Path() + "安装\\bin\\service.bat", "@exit /b 7\r\n");
  ChangeDir(temp.Path() + "安装\\bin");
  EXPECT_EQ(RunAndWait("service.bat install quarntest", SW_SHOW), 7u);
  // The new console's host may stand in the folder a moment longer than the command.
  ChangeDir(temp.Path());
  DeleteFileW(tk::ToWide(temp.Path() + "安装\\bin\\service.bat").c_str());
  for (int i = 0; i < 300 && !RemoveDirectoryW(tk::ToWide(temp.Path() + "安装\\bin").c_str()); ++i) Sleep(10);
}
