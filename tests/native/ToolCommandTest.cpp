// What a command is started from, and what is told of one that did not start or could not be
// ended. (The commands themselves: RemovalPlanTest, and the run log's lines in UnattendedTest.)
#include <gtest/gtest.h>

#include "common/portable/ToolCommand.h"

// What a command is started from is never completed from the current folder.
TEST(ToolCommand, OnlyAPathOnADriveOrAShareIsFull) {
  for (const char* full : {"C:\\Windows\\system32\\net.exe", "d:\\quarn\\bin", "\\\\server\\share\\tool.exe"})
    EXPECT_TRUE(pub::IsFullPath(full)) << full;
  for (const char* partial : {"", "net.exe", "bin\\service.bat", ".\\service.bat", "\\quarn\\bin", "C:quarn", "C:",
                              "\\\\\\x", "1:\\x"})
    EXPECT_FALSE(pub::IsFullPath(partial)) << partial;
}

TEST(ToolCommand, AnOutcomeSaysWhyACommandWasNotStartedOrCouldNotBeEnded) {
  pub::CommandOutcome late;
  late.started = late.timedOut = true;
  late.boundSeconds = 300;
  late.endError = 5;
  EXPECT_FALSE(late.Finished());
  EXPECT_EQ(late.Describe().rfind("在 300 秒内没有结束，无法终止：", 0), 0u) << "and why it could not be ended";
  pub::CommandOutcome thrown;
  thrown.startProblem = "内存不足";
  EXPECT_EQ(thrown.Describe(), "无法运行：内存不足") << "the error raised, not the text of error 0";
}
