// The run log's lines: what a run writes, in UTF-8, each line with its time.
#include <gtest/gtest.h>

#include <vector>

#include "setup/portable/RunLog.h"

using pub::ExitCode;
using pub::LocalTime;
using pub::RunAction;
using pub::RunLog;
using pub::RunStep;

namespace {

class Lines : public pub::RunLogWriter {
 public:
  void Append(const std::string& utf8Line) override { lines.push_back(utf8Line); }
  std::vector<std::string> lines;
};

const LocalTime kMorning{2009, 1, 2, 3, 4, 5};
const LocalTime kEvening{2024, 12, 31, 23, 59, 58};

}  // namespace

// Expected lines are u8 literals: narrow literals of this program are GBK.
TEST(RunLog, AnInstallRunReadsStartStepsFailuresAndEnd) {
  Lines out;
  RunLog log(out);
  log.Started(kMorning, RunAction::Install, "2.0.0", "d:\\站点");
  log.StepDone(kMorning, RunStep::Stage);
  log.FileFailed(kEvening, "d:\\站点\\java\\a.jar", "拒绝访问。\r\n");
  log.StepFailed(kEvening, RunStep::Copy, "有 1 个文件无法拷贝到安装目录，安装没有完成。");
  log.Finished(kEvening, ExitCode::Failed);
  const std::vector<std::string> expected = {
      u8"2009-01-02 03:04:05 开始安装 版本 2.0.0 目录 d:\\站点",
      u8"2009-01-02 03:04:05 解压 成功",
      u8"2024-12-31 23:59:58 文件 d:\\站点\\java\\a.jar 失败: 拒绝访问。",
      u8"2024-12-31 23:59:58 拷贝 失败: 有 1 个文件无法拷贝到安装目录，安装没有完成。",
      u8"2024-12-31 23:59:58 结束 退出码 1 失败",
  };
  EXPECT_EQ(out.lines, expected);
}

TEST(RunLog, ARemovalStartsWithoutVersionOrFolderWhenNoneIsKnown) {
  Lines out;
  RunLog log(out);
  log.Started(kMorning, RunAction::Uninstall, "", "");
  log.Started(kMorning, RunAction::Repair, "", "c:\\quarn");
  log.Finished(kMorning, ExitCode::Done);
  const std::vector<std::string> expected = {
      u8"2009-01-02 03:04:05 开始卸载",
      u8"2009-01-02 03:04:05 开始修复 目录 c:\\quarn",
      u8"2009-01-02 03:04:05 结束 退出码 0 完成",
  };
  EXPECT_EQ(out.lines, expected);
}

TEST(RunLog, ALineBreakNeverStartsALineWithoutItsTime) {
  Lines out;
  RunLog log(out);
  log.StepFailed(kMorning, RunStep::Copy, "有 2 个文件无法拷贝。\r\n第一个文件：c:\\q\\a\r\n原因：磁盘已满。");
  log.FileFailed(kMorning, "c:\\q\\odd\r\nname", "reason\nsecond");
  log.Started(kMorning, RunAction::Install, "2.0\r\n", "c:\\q");
  const std::vector<std::string> expected = {
      u8"2009-01-02 03:04:05 拷贝 失败: 有 2 个文件无法拷贝。",
      u8"2009-01-02 03:04:05     第一个文件：c:\\q\\a",
      u8"2009-01-02 03:04:05     原因：磁盘已满。",
      u8"2009-01-02 03:04:05 文件 c:\\q\\odd  name 失败: reason",
      u8"2009-01-02 03:04:05     second",
      u8"2009-01-02 03:04:05 开始安装 版本 2.0   目录 c:\\q",
  };
  EXPECT_EQ(out.lines, expected);
}

TEST(RunLog, BytesThatAreNoGbkCharacterBecomeQuestionMarksAndTheRestIsKept) {
  EXPECT_EQ(pub::LogUtf8("c:\\安装"), u8"c:\\安装");
  EXPECT_EQ(pub::LogUtf8("\xB0\xB2\xD7"), u8"安?") << "a lead byte cut off at the end";
  EXPECT_EQ(pub::LogUtf8("\xB0" "1\xD7\xB0"), u8"?1装") << "a lead byte before a byte that cannot follow it";
}
