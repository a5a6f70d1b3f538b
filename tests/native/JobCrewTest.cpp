// Jobs handed over as they become known and done by a few threads: every job done once by the
// time Finish returns, never more at once than the crew has threads, a failing job neither
// stopping the others nor lost; and a progress several threads report to at once losing no call.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/portable/JobCrew.h"
#include "common/portable/LockedProgress.h"

namespace {

void Pause() { std::this_thread::sleep_for(std::chrono::microseconds(200)); }

// Counts without a lock of its own: lost calls show when two threads reach it at once.
class CountingProgress : public pub::NoDisplay {
 public:
  void Advance() override {
    const int seen = advances;
    Pause();
    advances = seen + 1;
  }
  int advances = 0;
};

}  // namespace

TEST(JobCrew, EveryJobHandedOverIsDoneOnceByFinishOnNoMoreThreadsThanTheCrewHas) {
  for (int threads : {1, 2, 3}) {
    std::vector<std::atomic<int>> done(200);
    std::atomic<int> running{0}, mostAtOnce{0};
    pub::JobCrew crew(threads);
    for (int job = 0; job < 200; ++job) {
      crew.Add([&, job] {
        const int now = ++running;
        for (int most = mostAtOnce; now > most && !mostAtOnce.compare_exchange_weak(most, now);) {
        }
        if (job % 9 == 0) Pause();
        ++done[job];
        --running;
      });
      if (job % 50 == 0) Pause();  // jobs come as the caller gets to them
    }
    crew.Finish();
    for (int job = 0; job < 200; ++job) EXPECT_EQ(done[job], 1) << "job " << job << " with " << threads << " threads";
    EXPECT_LE(mostAtOnce, threads);
    // A crew that has finished does what it is still handed on the caller's thread.
    std::thread::id where;
    crew.Add([&] { where = std::this_thread::get_id(); });
    EXPECT_EQ(where, std::this_thread::get_id());
  }
}

TEST(JobCrew, AFailingJobStopsNoOtherAndFinishThrowsTheFirstFailureOn) {
  std::atomic<int> done{0};
  pub::JobCrew crew(2);
  crew.Add([] { throw std::runtime_error("first"); });
  for (int job = 0; job < 20; ++job) crew.Add([&] { ++done; });
  crew.Add([] { throw 7; });
  try {
    crew.Finish();
    ADD_FAILURE() << "no failure thrown";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "first");
  } catch (...) {
    // The other failure came first: the two failing jobs may run in either order.
  }
  EXPECT_EQ(done, 20);
  EXPECT_NO_THROW(crew.Finish());  // thrown once
}

TEST(LockedProgress, ThreadsReportingAtOnceLoseNoCallAndNothingBehindItIsNoProgress) {
  CountingProgress counted;
  pub::LockedProgress shared(&counted);
  pub::Progress* progress = shared.Get();
  ASSERT_NE(progress, nullptr);
  {
    pub::JobCrew crew(2);
    for (int job = 0; job < 2; ++job)
      crew.Add([progress] {
        for (int i = 0; i < 300; ++i) progress->Advance();
      });
  }
  EXPECT_EQ(counted.advances, 600);
  pub::LockedProgress nothing(nullptr);
  EXPECT_EQ(nothing.Get(), nullptr);
}
