#include "common/portable/JobCrew.h"

#include <system_error>
#include <utility>

namespace pub {

JobCrew::JobCrew(int threads) {
  for (int i = 0; i < threads; ++i) {
    try {
      threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // those that started share the jobs; with none, the caller does them
    }
  }
}

JobCrew::~JobCrew() { End(); }

void JobCrew::Add(std::function<void()> job) {
  if (threads_.empty()) return Do(job);
  std::lock_guard<std::mutex> hold(lock_);
  waiting_.push_back(std::move(job));
  changed_.notify_one();
}

void JobCrew::Finish() {
  End();
  std::lock_guard<std::mutex> hold(lock_);
  if (firstError_) std::rethrow_exception(std::exchange(firstError_, nullptr));
}

void JobCrew::Work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> hold(lock_);
      changed_.wait(hold, [this] { return ending_ || !waiting_.empty(); });
      if (waiting_.empty()) return;  // ending, and nothing left to do
      job = std::move(waiting_.front());
      waiting_.pop_front();
    }
    Do(job);
  }
}

void JobCrew::Do(const std::function<void()>& job) {
  try {
    job();
  } catch (...) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!firstError_) firstError_ = std::current_exception();
  }
}

// The threads take what is waiting, then end; a crew that has ended does later jobs inline.
void JobCrew::End() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    ending_ = true;
    changed_.notify_all();
  }
  for (std::thread& thread : threads_)
    if (thread.joinable()) thread.join();
  threads_.clear();
}

}  // namespace pub
