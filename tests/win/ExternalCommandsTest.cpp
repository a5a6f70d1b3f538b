// RunAndWait: exit codes, programs that do not exist, and the current directory's part in
// finding the program; StartCommand: commands side by side, each in a folder of its own.
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

// A started command runs on while the caller goes on, side by side with others, each in the
// folder it was given; each is waited for by Finish or, failing that, when it goes out of scope.
TEST(StartCommand, CommandsRunSideBySideEachInItsOwnFolder) {
  TempFolder temp;
  MakeFolders(temp.Path() + "one\\bin");
  MakeFolders(temp.Path() + "two");
  // Waits (20 s at most) for the file "go" beside its folder.
  WriteBytes(temp.Path() + "one\\bin\\wait.bat",
             "@echo off\r\nset n=0\r\n:again\r\nif exist ..\\go exit /b 5\r\nset /a n+=1\r\n"
             "ping -n 1 -w 10 127.0.0.1 >nul\r\nif %n% GEQ 400 exit /b 9\r\ngoto again\r\n");
  WriteBytes(temp.Path() + "two\\mark.bat", "@echo.>seen\r\n@exit /b 6\r\n");
  {
    pub::StartedCommand first = pub::StartCommand("cmd /c wait.bat", SW_SHOW, temp.Path() + "one\\bin");
    pub::StartedCommand second = pub::StartCommand("cmd /c mark.bat", SW_SHOW, temp.Path() + "two");
    EXPECT_EQ(second.Finish().exitCode, 6u) << "ended while the first still waits";
    EXPECT_TRUE(PathExists(temp.Path() + "two\\seen")) << "written in its own folder";
    WriteBytes(temp.Path() + "one\\go", "");
    EXPECT_EQ(first.Finish().exitCode, 5u) << "the first saw the file it waited for";
    EXPECT_EQ(first.Finish().exitCode, 5u) << "finishing again gives the same outcome";
  }
  pub::CommandOutcome missing = pub::StartCommand("cmd /c exit 0", SW_SHOW, temp.Path() + "three").Finish();
  EXPECT_FALSE(missing.started) << "a working folder that does not exist";
  DeleteFileW(tk::ToWide(temp.Path() + "two\\seen").c_str());
  {
    pub::StartedCommand unfinished = pub::StartCommand("cmd /c mark.bat", SW_SHOW, temp.Path() + "two");
  }
  EXPECT_TRUE(PathExists(temp.Path() + "two\\seen")) << "left unfinished, it was still waited for";
}
