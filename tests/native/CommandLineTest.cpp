// setup.exe's command line: what each option asks for, and every argument that is refused.
#include <gtest/gtest.h>

#include "common/portable/CommandLine.h"
#include "common/portable/ExitCode.h"

using pub::CommandLine;
using pub::ParseCommandLine;
using pub::RunMode;

namespace {

CommandLine Parse(std::vector<std::string> arguments, bool startedAsUninstaller = false) {
  return ParseCommandLine(arguments, startedAsUninstaller);
}

}  // namespace

TEST(CommandLine, ModesFollowTheOptionsAndTheProgramName) {
  CommandLine wizard = Parse({});
  EXPECT_TRUE(wizard.Ok());
  EXPECT_EQ(wizard.mode, RunMode::Wizard);
  EXPECT_FALSE(wizard.silent);

  CommandLine install = Parse({"/S"});
  EXPECT_EQ(install.mode, RunMode::Install);
  EXPECT_TRUE(install.silent);

  CommandLine quietRemoval = Parse({"/uninstall", "/S"});
  EXPECT_EQ(quietRemoval.mode, RunMode::Uninstall);
  EXPECT_TRUE(quietRemoval.silent);
  EXPECT_EQ(Parse({"/uninstall"}).mode, RunMode::Uninstall);

  CommandLine uninstaller = Parse({}, true);
  EXPECT_TRUE(uninstaller.Ok());
  EXPECT_EQ(uninstaller.mode, RunMode::Uninstall);
  EXPECT_FALSE(uninstaller.uninstall) << "no option was given";
  EXPECT_EQ(Parse({"/S", "/uninstall"}, true).mode, RunMode::Uninstall);

  CommandLine logged = Parse({"/LOG=c:\\setup.log"});
  EXPECT_EQ(logged.mode, RunMode::Wizard) << "a log alone still opens the wizard";
  EXPECT_EQ(logged.logPath, "c:\\setup.log");
}

TEST(CommandLine, OptionsIgnoreCaseAndTakeEitherPrefix) {
  for (const char* silent : {"/S", "/s", "-s", "-S"}) EXPECT_TRUE(Parse({silent}).silent) << silent;
  for (const char* removal : {"/uninstall", "-UNINSTALL", "/UnInstall"})
    EXPECT_EQ(Parse({removal}).mode, RunMode::Uninstall) << removal;
  for (const char* help : {"/?", "-?", "/h", "-H", "/help", "-HELP"}) {
    CommandLine line = Parse({help});
    EXPECT_EQ(line.mode, RunMode::Help) << help;
    EXPECT_TRUE(line.help) << help;
  }
  EXPECT_EQ(Parse({"-log=x.txt"}).logPath, "x.txt");
  EXPECT_EQ(Parse({"-s", "-d=d:\\web"}).folder, "d:\\web");
  for (const char* allow : {"/ALLOWDOWNGRADE", "-allowDowngrade"}) {
    CommandLine line = Parse({"/S", allow});
    EXPECT_EQ(line.mode, RunMode::Install) << allow;
    EXPECT_TRUE(line.allowDowngrade) << allow;
  }
  EXPECT_FALSE(Parse({"/S"}).allowDowngrade);
}

TEST(CommandLine, TheFolderIsEverythingAfterTheFirstEqualsSignAsWritten) {
  EXPECT_EQ(Parse({"/S", "/D=C:\\My Site\\Quarn"}).folder, "C:\\My Site\\Quarn");
  EXPECT_EQ(Parse({"/S", "/d=c:\\a=b"}).folder, "c:\\a=b");
  EXPECT_EQ(Parse({"/S", "/D=c:\\安装"}).folder, "c:\\安装");
  EXPECT_EQ(Parse({"/S", "/LOG=d:\\日志 1.txt"}).logPath, "d:\\日志 1.txt");
}

TEST(CommandLine, HelpIsGivenWhateverElseIsAskedForIfEveryArgumentIsKnown) {
  EXPECT_EQ(Parse({"/S", "/?"}).mode, RunMode::Help);
  EXPECT_EQ(Parse({"/D=c:\\q", "/uninstall", "/h"}).mode, RunMode::Help);
  EXPECT_EQ(Parse({"/?"}, true).mode, RunMode::Help);
  EXPECT_FALSE(Parse({"/?", "/x"}).Ok());
}

TEST(CommandLine, RefusedArgumentsAreNamedAndNothingElseIsKept) {
  struct Case {
    std::vector<std::string> arguments;
    bool startedAsUninstaller;
    std::string named;
  };
  const Case cases[] = {
      {{"/x"}, false, "/x"},
      {{"/"}, false, "/"},
      {{"-"}, false, "-"},
      {{"/silent"}, false, "/silent"},
      {{"c:\\quarn"}, false, "c:\\quarn"},
      {{"/S", ""}, false, "\"\""},
      {{"/S", "/D=c:\\my", "dir"}, false, "dir"},
      {{"/S", "-s"}, false, "-s"},
      {{"/S", "/D=c:\\a", "/d=c:\\b"}, false, "/d=c:\\b"},
      {{"/LOG=a", "-log=b"}, false, "-log=b"},
      {{"/uninstall", "/UNINSTALL"}, false, "/UNINSTALL"},
      {{"/?", "/help"}, false, "/help"},
      {{"/S=1"}, false, "/S=1"},
      {{"/uninstall=yes"}, false, "/uninstall=yes"},
      {{"/S", "/D"}, false, "/D"},
      {{"/LOG"}, false, "/LOG"},
      {{"/S", "/D="}, false, "/D="},
      {{"/LOG="}, false, "/LOG="},
      {{"/D=c:\\quarn"}, false, "/D=c:\\quarn"},
      {{"/D=c:\\quarn", "/LOG=x"}, false, "/D=c:\\quarn"},
      {{"/S", "/uninstall", "/D=c:\\quarn"}, false, "/D=c:\\quarn"},
      {{"/S", "/D=c:\\quarn"}, true, "/D=c:\\quarn"},
      // The wizard asks before a downgrade itself, and a removal installs nothing.
      {{"/ALLOWDOWNGRADE"}, false, "/ALLOWDOWNGRADE"},
      {{"/S", "/uninstall", "/allowdowngrade"}, false, "/ALLOWDOWNGRADE"},
      {{"/S", "/ALLOWDOWNGRADE"}, true, "/ALLOWDOWNGRADE"},
      {{"/S", "/ALLOWDOWNGRADE", "-allowdowngrade"}, false, "-allowdowngrade"},
      {{"/S", "/ALLOWDOWNGRADE=1"}, false, "/ALLOWDOWNGRADE=1"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += "[" + a + "]";
    CommandLine line = ParseCommandLine(c.arguments, c.startedAsUninstaller);
    EXPECT_FALSE(line.Ok()) << shown;
    EXPECT_NE(line.error.find(c.named), std::string::npos) << shown << " -> " << line.error;
    EXPECT_EQ(line.mode, RunMode::Wizard) << shown;
    EXPECT_FALSE(line.uninstall || line.help || line.allowDowngrade) << shown;
    EXPECT_EQ(line.folder + line.logPath, "") << shown;
    // Only whether silence was asked for is kept: a refusal then goes to no box.
    bool asked = false;
    for (const std::string& a : c.arguments) asked = asked || a == "/S" || a == "-s";
    EXPECT_EQ(line.silent, asked) << shown;
  }
}

// A character GBK cannot hold (the caller passes it as '?') may stand only in /LOG's value: a
// log in a profile named in any script. A folder, or any other argument, holding one is refused.
TEST(CommandLine, OnlyTheLogsPathMayHoldWhatGbkCannot) {
  using pub::CommandArgument;
  const CommandArgument profileLog = {"/LOG=C:\\users\\W?a?ciciel\\AppData\\Local\\Temp\\WinGet\\x.log", false};
  using Arguments = std::vector<CommandArgument>;
  CommandLine logged = ParseCommandLine(Arguments{{"/S", true}, {"/D=c:\\quarn", true}, profileLog}, false);
  EXPECT_TRUE(logged.Ok()) << logged.error;
  EXPECT_EQ(logged.mode, RunMode::Install);
  EXPECT_EQ(logged.logArgument, 2) << "the caller reads the path from this argument as given";
  EXPECT_EQ(ParseCommandLine(Arguments{{"/uninstall", true}, {"-log=d:\\?.log", false}}, false).logArgument, 1);
  EXPECT_EQ(Parse({"/S"}).logArgument, -1);
  EXPECT_EQ(Parse({"/S", "/LOG=x.log"}).logArgument, 1);

  const Arguments refused[] = {
      {{"/S", true}, {"/D=c:\\?", false}, profileLog},
      {{"/S", true}, {"c:\\?", false}},
      {{"/S", true}, {"/L?G=x.log", false}},
      {{"/S", true}, {"/LOG?", false}},
      {{"/S", true}, profileLog, {"-log=y?", false}},
  };
  for (const Arguments& arguments : refused) {
    CommandLine line = ParseCommandLine(arguments, false);
    EXPECT_FALSE(line.Ok()) << arguments.back().text;
    EXPECT_TRUE(line.silent) << "refused without a box";
    EXPECT_EQ(line.logArgument, -1) << "nothing of a refused line is kept";
  }
}

TEST(CommandLine, TheUsageNamesEveryOptionAndExitCode) {
  const std::string usage = pub::CommandLineUsage();
  for (const char* expected : {"/S", "/D=", "/uninstall", "/LOG=", "/?", "/h", "/help", "c:\\quarn", "/ALLOWDOWNGRADE"})
    EXPECT_NE(usage.find(expected), std::string::npos) << expected;
  for (int code = 0; code <= pub::ToInt(pub::ExitCode::Downgrade); ++code)
    EXPECT_NE(usage.find(std::to_string(code) + " "), std::string::npos) << code;
  for (pub::ExitCode code : {pub::ExitCode::UserCancelled, pub::ExitCode::DoneRestartNeeded})
    EXPECT_NE(usage.find(std::to_string(pub::ToInt(code)) + " "), std::string::npos) << pub::ToInt(code);
  EXPECT_EQ(usage.substr(usage.size() - 2), "\r\n");
}
