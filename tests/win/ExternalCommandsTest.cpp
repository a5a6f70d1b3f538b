// Commands by full path only: exit codes, programs that are not there, batch files through the
// command processor; commands side by side, each in a folder of its own; and a command that
// outlives its bound, ended with every process it started.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win/ExternalCommands.h"
#include "common/win/SystemFolders.h"
#include "tests/e2e/driver/Files.h"
#include "tests/win/support/FileTreeSupport.h"
#include "tests/win/support/NeverEndingTools.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;

namespace {

const std::string kSystem = pub::SystemDirectory();

pub::ToolCommand Cmd(const std::string& arguments, const std::string& folder = kSystem, unsigned bound = 30) {
  return pub::ProgramCommand(kSystem + "\\cmd.exe", arguments, folder, bound);
}

}  // namespace

TEST(RunCommand, GivesTheExitCodeOrWhyTheCommandCouldNotStart) {
  const pub::CommandOutcome three = pub::RunCommand(Cmd("/c exit 3"), SW_SHOW);
  EXPECT_TRUE(three.Finished());
  EXPECT_EQ(three.exitCode, 3u);
  EXPECT_EQ(three.Describe(), "退出码 3");
  const pub::CommandOutcome missing =
      pub::RunCommand(pub::ProgramCommand(kSystem + "\\quarn-no-such-program.exe", "--install x", kSystem, 30), SW_SHOW);
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.startError, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(missing.Describe().rfind("无法运行：", 0), 0u) << missing.Describe();
}

// Neither the current folder nor this program's folder (which holds stand-ins named
// mysqld-nt.exe and service.bat) is ever searched: a program or working folder that is no full
// path is refused. A batch file by full path runs through the command processor, quoted, with
// its arguments, in the folder it was given.
TEST(StartCommand, NothingIsLookedUpAndABatchFileRunsByItsFullPath) {
  TempFolder temp;
  CurrentDirGuard guard;
  const std::string bin = temp.Path() + "安装 目录\\bin";
  MakeFolders(bin);
  WriteBytes(bin + "\\service.bat", "@echo %1 %2>seen\r\n@exit /b 7\r\n");
  ChangeDir(bin);
  for (const pub::ToolCommand& bare :
       {pub::ProgramCommand("service.bat", "install quarntest", bin, 30),
        pub::ProgramCommand("mysqld-nt.exe", "--install quarntest", bin, 30),
        pub::ProgramCommand("bin\\service.bat", "install quarntest", bin, 30), Cmd("/c exit 0", "bin")}) {
    const pub::CommandOutcome outcome = pub::RunCommand(bare, SW_SHOW);
    EXPECT_FALSE(outcome.started) << tk::WideToUtf8(tk::ToWide(bare.commandLine));
    EXPECT_EQ(outcome.startError, static_cast<uint32_t>(ERROR_BAD_PATHNAME));
  }
  EXPECT_FALSE(PathExists(bin + "\\seen"));

  ChangeDir(temp.Path());
  const pub::ToolCommand batch = pub::BatchCommand(kSystem, bin + "\\service.bat", "install quarntest", bin, 30);
  EXPECT_EQ(pub::RunCommand(batch, SW_SHOW).exitCode, 7u);
  EXPECT_EQ(ReadBytes(bin + "\\seen"), "install quarntest\r\n");
  // The new console's host may stand in the folder a moment longer than the command.
  for (int i = 0; i < 300 && PathExists(bin) && !RemoveDirectoryW(tk::ToWide(bin).c_str()); ++i) {
    DeleteFileW(tk::ToWide(bin + "\\seen").c_str());
    DeleteFileW(tk::ToWide(bin + "\\service.bat").c_str());
    Sleep(10);
  }
}

// Every command gets a console of its own: shown as the wizard shows its service tools, or
// with no window at all for a run nobody watches; a batch file's program shares its console.
TEST(StartCommand, ACommandsConsoleIsItsOwnShownOrWithoutAWindow) {
  const std::string tool = tk::FromWide(e2e::ProgramFolder()) + "console_window.exe";
  const pub::ToolCommand command = pub::ProgramCommand(tool, "", kSystem, 30);
  EXPECT_EQ(pub::RunCommand(command, pub::kShowWindow).exitCode, 1u) << "a console of its own, shown";
  EXPECT_EQ(pub::RunCommand(command, pub::kHideWindow).exitCode, 2u) << "a console of its own, no window";
  TempFolder temp;
  WriteBytes(temp.Path() + "tool.bat", "@\"" + tool + "\"\r\n");
  const pub::ToolCommand batch = pub::BatchCommand(kSystem, temp.Path() + "tool.bat", "", temp.Path(), 30);
  EXPECT_EQ(pub::RunCommand(batch, pub::kShowWindow).exitCode, 5u) << "the command processor's console, shown";
  EXPECT_EQ(pub::RunCommand(batch, pub::kHideWindow).exitCode, 6u) << "the command processor's console, no window";
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
  const std::string one = temp.Path() + "one\\bin", two = temp.Path() + "two";
  {
    pub::StartedCommand first = pub::StartCommand(pub::BatchCommand(kSystem, one + "\\wait.bat", "", one, 60), SW_SHOW);
    pub::StartedCommand second = pub::StartCommand(pub::BatchCommand(kSystem, two + "\\mark.bat", "", two, 60), SW_SHOW);
    EXPECT_EQ(second.Finish().exitCode, 6u) << "ended while the first still waits";
    EXPECT_TRUE(PathExists(two + "\\seen")) << "written in its own folder";
    WriteBytes(temp.Path() + "one\\go", "");
    EXPECT_EQ(first.Finish().exitCode, 5u) << "the first saw the file it waited for";
    EXPECT_EQ(first.Finish().exitCode, 5u) << "finishing again gives the same outcome";
  }
  pub::CommandOutcome missing = pub::StartCommand(Cmd("/c exit 0", temp.Path() + "three"), SW_SHOW).Finish();
  EXPECT_FALSE(missing.started) << "a working folder that does not exist";
  DeleteFileW(tk::ToWide(two + "\\seen").c_str());
  {
    pub::StartedCommand unfinished =
        pub::StartCommand(pub::BatchCommand(kSystem, two + "\\mark.bat", "", two, 60), SW_SHOW);
  }
  EXPECT_TRUE(PathExists(two + "\\seen")) << "left unfinished, it was still waited for";
}

// A batch file whose tool never ends, as one stuck at a prompt: at its bound the command
// processor and the tool it started are ended, and the outcome says so.
TEST(StartCommand, ACommandPastItsBoundIsEndedWithEveryProcessItStarted) {
  TempFolder temp;
  const std::string tool = tk::FromWide(e2e::ProgramFolder()) + "mysqld-nt.exe";
  WriteBytes(temp.Path() + "stuck.bat", "@\"" + tool + "\" --install quarntest_stuck\r\n@exit /b 0\r\n");
  NeverEndingTools neverEnding(temp.Path() + "pids.txt");
  const pub::ToolCommand command = pub::BatchCommand(kSystem, temp.Path() + "stuck.bat", "", NoSlash(temp.Path()), 2);
  const ULONGLONG start = GetTickCount64();
  const pub::CommandOutcome outcome = pub::RunCommand(command, SW_SHOW);
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, 2000u);
  EXPECT_LT(took, 12000u);
  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.timedOut);
  EXPECT_FALSE(outcome.Finished());
  EXPECT_EQ(pub::CommandNote(command.commandLine, outcome), "命令 " + command.commandLine + "：在 2 秒内没有结束，已被终止");
  ASSERT_EQ(neverEnding.Started().size(), 1u) << "the tool ran and wrote its process id";
  EXPECT_TRUE(neverEnding.StillRunning().empty()) << "the tool the batch file started was ended with it";
}
