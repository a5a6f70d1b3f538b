// The queue between a run's worker and the thread that shows it: every report arrives, once,
// in the order it was made, with all it carried, however the draining falls between them.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "common/portable/ProgressQueue.h"

namespace {

// Writes each report down as one line of text.
class Recording : public pub::Progress {
 public:
  void Step(const std::string& title) override { seen.push_back("step " + title); }
  void Range(int total) override { seen.push_back("range " + std::to_string(total)); }
  void Advance() override { seen.push_back("advance"); }
  void Complete() override { seen.push_back("complete"); }
  void Status(const std::string& text) override { seen.push_back("status " + text); }
  void Line(const std::string& text) override { seen.push_back("line " + text); }
  void Note(const std::string& text) override { seen.push_back("note " + text); }
  void Failure(const std::string& what, const std::string& reason) override {
    seen.push_back("failure " + what + " / " + reason);
  }
  void Outcome(pub::RunStep step, bool succeeded, const std::string& reason) override {
    seen.push_back("outcome " + std::to_string(static_cast<int>(step)) + (succeeded ? " ok " : " failed ") + reason);
  }
  void Flush() override { seen.push_back("flush"); }
  std::vector<std::string> seen;
};

// What a walk reports for each of its items, as the staging walk does.
void ReportItems(pub::Progress& progress, int count) {
  for (int i = 0; i < count; ++i) {
    progress.Status("开始解压......");
    progress.Line("..\\file" + std::to_string(i));
    progress.Advance();
  }
}

}  // namespace

TEST(ProgressQueue, HandsEveryKindOfReportOnWithWhatItCarriedAndRunsLaterWorkInItsPlace) {
  pub::ProgressQueue queue;
  Recording direct, drained;
  for (pub::Progress* progress : {static_cast<pub::Progress*>(&direct), static_cast<pub::Progress*>(&queue)}) {
    progress->Step("解压文件到临时目录：");
    progress->Range(3);
    progress->Status("开始解压......");
    progress->Line("..\\java\\a.jar");
    progress->Advance();
    progress->Note("net start mysqlquarn: 0");
    progress->Failure("C:\\quarn\\eblog\\index.html", "另一个程序正在使用此文件。");
    progress->Outcome(pub::RunStep::Copy, false, "拷贝没有完成");
    progress->Outcome(pub::RunStep::Services, true, "");
    progress->Complete();
    progress->Flush();
  }
  queue.Later([&] { drained.seen.push_back("later"); });
  queue.Line("after");
  direct.seen.push_back("later");
  direct.seen.push_back("line after");

  EXPECT_TRUE(queue.DrainInto(drained));
  EXPECT_EQ(drained.seen, direct.seen);
  EXPECT_FALSE(queue.DrainInto(drained)) << "nothing is handed out twice";
  EXPECT_EQ(drained.seen.size(), direct.seen.size());
}

TEST(ProgressQueue, AWorkerReportingWhileTheOtherThreadDrainsLosesAndReordersNothing) {
  constexpr int kItems = 20000;
  Recording expected;
  ReportItems(expected, kItems);
  expected.Flush();

  pub::ProgressQueue queue;
  Recording drained;
  std::thread worker([&] {
    ReportItems(queue, kItems);
    queue.Flush();
  });
  int drains = 0;
  while (drained.seen.size() < expected.seen.size()) {
    drains += queue.DrainInto(drained) ? 1 : 0;
    std::this_thread::yield();
  }
  worker.join();
  EXPECT_FALSE(queue.DrainInto(drained));
  ASSERT_EQ(drained.seen.size(), expected.seen.size());
  EXPECT_EQ(drained.seen, expected.seen);
  EXPECT_GE(drains, 1);
}

TEST(ProgressQueue, AReportThatThrowsIsNotHandedOutAgain) {
  pub::ProgressQueue queue;
  Recording drained;
  queue.Line("one");
  queue.Later([] { throw std::runtime_error("the display is gone"); });
  queue.Line("lost with the failed drain");
  EXPECT_THROW(queue.DrainInto(drained), std::runtime_error);
  queue.Line("two");
  EXPECT_TRUE(queue.DrainInto(drained));
  EXPECT_EQ(drained.seen, (std::vector<std::string>{"line one", "line two"}));
}
