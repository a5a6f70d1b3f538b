// A run's work on a thread of its own: the window's thread keeps handling messages meanwhile,
// every report reaches the display there in order, an error of the work comes back to the
// caller, and no worker outlives the call.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/win/WorkerRun.h"
#include "tests/win/support/WinTestSupport.h"
#include "toolkit/win/Form.h"

namespace {

// Records each report with the thread it was shown on.
class ThreadRecording : public pub::Progress {
 public:
  void Step(const std::string& title) override { Add("step " + title); }
  void Range(int total) override { Add("range " + std::to_string(total)); }
  void Advance() override { Add("advance"); }
  void Complete() override { Add("complete"); }
  void Status(const std::string& text) override { Add("status " + text); }
  void Line(const std::string& text) override { Add("line " + text); }
  void Failure(const std::string& what, const std::string& reason) override { Add("failure " + what + reason); }
  void Add(const std::string& report) {
    seen.push_back(report);
    threads.push_back(GetCurrentThreadId());
  }
  std::vector<std::string> seen;
  std::vector<DWORD> threads;
};

int NamedWorkers() { return testing_support::ThreadsNamed(pub::kWorkerThreadName); }

class WorkerRun : public ::testing::Test {
 protected:
  WorkerRun() {
    application.Initialize();
    form = new tk::Form(&application);
    form->Show();
  }
  tk::Application application;
  tk::Form* form;
};

}  // namespace

TEST_F(WorkerRun, TheWorkRunsApartWhileTheWindowsThreadHandlesMessagesAndShowsEveryReportInOrder) {
  ThreadRecording display;
  const DWORD caller = GetCurrentThreadId();
  std::atomic<DWORD> workThread{0};
  std::atomic<bool> messageHandled{false};
  std::atomic<int> namedDuring{0};
  std::vector<std::string> expected;
  pub::RunOnWorker(
      [&](pub::ProgressQueue& progress) {
        workThread = GetCurrentThreadId();
        namedDuring = NamedWorkers();
        progress.Step("解压文件到临时目录：");
        progress.Range(500);
        // A message sent to the window now is answered only if its thread is still handling
        // messages while this work runs; a thread blocked on the work would never answer.
        DWORD_PTR answer = 0;
        messageHandled = SendMessageTimeoutW(form->Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
        for (int i = 0; i < 500; ++i) {
          progress.Status("开始解压......");
          progress.Line("..\\file" + std::to_string(i));
          progress.Advance();
        }
        progress.Later([&] { display.Add("later"); });
        progress.Complete();
      },
      display);
  for (int i = 0; i < 500; ++i) {
    if (i == 0) expected = {"step 解压文件到临时目录：", "range 500"};
    expected.push_back("status 开始解压......");
    expected.push_back("line ..\\file" + std::to_string(i));
    expected.push_back("advance");
  }
  expected.push_back("later");
  expected.push_back("complete");

  EXPECT_NE(workThread.load(), caller);
  EXPECT_TRUE(messageHandled) << "the window answered during the run";
  EXPECT_EQ(display.seen, expected);
  for (DWORD thread : display.threads) ASSERT_EQ(thread, caller) << "every report is shown on the window's thread";
  if (NamedWorkers() == -1) GTEST_SKIP() << "this system keeps no thread names";
  EXPECT_EQ(namedDuring.load(), 1) << "the worker is found by its name";
  EXPECT_EQ(NamedWorkers(), 0) << "no worker is left once the run has returned";
}

TEST_F(WorkerRun, AnErrorOfTheWorkReachesTheCallerAfterEverythingReportedBeforeIt) {
  ThreadRecording display;
  try {
    pub::RunOnWorker(
        [&](pub::ProgressQueue& progress) {
          progress.Line("..\\java\\a.jar");
          progress.Failure("C:\\quarn\\java\\b.jar", "磁盘空间不足。");
          throw std::runtime_error("磁盘空间不足。");
        },
        display);
    ADD_FAILURE() << "the error was lost";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "磁盘空间不足。");
  }
  EXPECT_EQ(display.seen, (std::vector<std::string>{"line ..\\java\\a.jar", "failure C:\\quarn\\java\\b.jar磁盘空间不足。"}));
  if (NamedWorkers() == -1) GTEST_SKIP() << "this system keeps no thread names";
  EXPECT_EQ(NamedWorkers(), 0);
}
