// Items done by several writers and taken in their own order: every item once, in order,
// whatever the writers' pace; the first failure in order ends the taking; no writer outlives the
// call, whether it ends well, on a failure, or by an error of the caller's own.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/portable/OrderedWriters.h"

namespace {

// Items whose index is a multiple of 7 take a little longer, so that later items are often
// done first.
void Work(int item) {
  if (item % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
}

}  // namespace

TEST(RunOrdered, EveryItemIsTakenOnceInOrderOnTheCallersThreadWithOneTwoOrFourWriters) {
  for (int writers : {1, 2, 4}) {
    std::vector<int> seen;
    std::mutex lock;
    std::set<std::thread::id> workThreads;
    std::atomic<int> jobsMade{0};
    const std::thread::id caller = std::this_thread::get_id();
    bool finishedElsewhere = false;
    pub::RunOrdered(
        500, writers,
        [&] {
          ++jobsMade;
          return pub::ItemJob([&](int item) {
            Work(item);
            std::lock_guard<std::mutex> hold(lock);
            workThreads.insert(std::this_thread::get_id());
          });
        },
        [&](int item, std::exception_ptr error) {
          finishedElsewhere |= std::this_thread::get_id() != caller;
          EXPECT_FALSE(error);
          seen.push_back(item);
          return true;
        });
    std::vector<int> expected(500);
    for (int i = 0; i < 500; ++i) expected[i] = i;
    EXPECT_EQ(seen, expected) << writers << " writers";
    EXPECT_FALSE(finishedElsewhere);
    EXPECT_EQ(jobsMade.load(), writers) << "each writer makes its own job";
    if (writers == 1) {
      EXPECT_EQ(workThreads, std::set<std::thread::id>{caller}) << "one writer is the caller";
    } else {
      EXPECT_EQ(workThreads.count(caller), 0u) << "writers are threads of their own";
    }
  }
}

TEST(RunOrdered, TheFirstFailureInOrderIsTheOneReportedAndNothingAfterItIsTaken) {
  for (int writers : {1, 2, 4}) {
    std::vector<int> seen;
    std::string reason;
    pub::RunOrdered(
        400, writers,
        [&] {
          return pub::ItemJob([&](int item) {
            Work(item);
            // Two failures; the later one may well be done first.
            if (item == 150 || item == 120) throw std::runtime_error("full at " + std::to_string(item));
          });
        },
        [&](int item, std::exception_ptr error) {
          seen.push_back(item);
          if (!error) return true;
          try {
            std::rethrow_exception(error);
          } catch (const std::runtime_error& failure) {
            reason = failure.what();
          }
          return false;
        });
    EXPECT_EQ(reason, "full at 120") << writers << " writers";
    ASSERT_EQ(seen.size(), 121u);
    EXPECT_EQ(seen.back(), 120);
  }
}

TEST(RunOrdered, AnErrorOfTheCallerOrOfEveryWritersSetUpComesOutAfterTheWritersHaveEnded) {
  std::atomic<int> running{0};
  auto job = [&] {
    return pub::ItemJob([&](int) {
      ++running;
      Work(0);
      --running;
    });
  };
  EXPECT_THROW(pub::RunOrdered(300, 3, job,
                               [](int item, std::exception_ptr) {
                                 if (item == 10) throw std::logic_error("the display is gone");
                                 return true;
                               }),
               std::logic_error);
  EXPECT_EQ(running.load(), 0) << "no writer is still at work";

  EXPECT_THROW(pub::RunOrdered(
                   50, 2, []() -> pub::ItemJob { throw std::runtime_error("cannot open the package"); },
                   [](int, std::exception_ptr) { return true; }),
               std::runtime_error);

  // One writer that cannot start leaves its share to the other.
  std::atomic<int> made{0};
  std::vector<int> seen;
  pub::RunOrdered(
      50, 2,
      [&]() -> pub::ItemJob {
        if (made++ == 0) throw std::runtime_error("cannot open the package");
        return [](int) {};
      },
      [&](int item, std::exception_ptr error) {
        EXPECT_FALSE(error);
        seen.push_back(item);
        return true;
      });
  EXPECT_EQ(seen.size(), 50u);
}

#ifndef _WIN32
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// In a child of the test: with room to map only `room` bytes more (a thread's stack is mapped
// as it starts), every item must still be taken once, in order; exits 0 when so.
void TakeEveryItemWithRoomFor(size_t room) {
  mallopt(M_ARENA_MAX, 1);  // no arena of its own for a new thread's first allocation
  long pages = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm || std::fscanf(statm, "%ld", &pages) != 1) std::exit(3);
  const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + room;
  const rlimit bound{limit, limit};
  if (setrlimit(RLIMIT_AS, &bound) != 0) std::exit(4);
  int next = 0;
  pub::RunOrdered(
      60, 4, [] { return pub::ItemJob([](int item) { Work(item); }); },
      [&](int item, std::exception_ptr error) {
        if (error || item != next++) std::exit(5);
        return true;
      });
  std::exit(next == 60 ? 0 : 6);
}

}  // namespace

// Writers the system refuses to start (no room for their stacks) are no error: the ones that
// started, or else the caller alone, take every item; the process never ends on the way.
TEST(RunOrdered, WritersTheSystemWillNotStartLeaveTheirItemsToTheOthers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  pthread_attr_t attributes;
  size_t stack = 0;
  pthread_getattr_default_np(&attributes);
  pthread_attr_getstacksize(&attributes, &stack);
  pthread_attr_destroy(&attributes);
  ASSERT_GT(stack, 0u);
  EXPECT_EXIT(TakeEveryItemWithRoomFor(stack + stack / 2), ::testing::ExitedWithCode(0), "") << "one writer starts";
  EXPECT_EXIT(TakeEveryItemWithRoomFor(stack / 4), ::testing::ExitedWithCode(0), "") << "none starts";
}
#endif
