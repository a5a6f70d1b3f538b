// Jobs handed over one by one and done by a few threads at once, in the order they were
// handed over; Finish waits until every job handed over has been done. The jobs are known only
// as the caller gets to them (a folder that may go once its service has let go of it), which
// is what sets this apart from RunOrdered, whose items are all known at the start.
//
// A crew the system starts no thread for does each job on the caller's thread as it is handed
// over. A job that throws does not stop the others; Finish throws the first such error on.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pub {

class JobCrew {
 public:
  explicit JobCrew(int threads);
  JobCrew(const JobCrew&) = delete;
  JobCrew& operator=(const JobCrew&) = delete;
  // Waits for the jobs handed over, as Finish does, without throwing.
  ~JobCrew();

  void Add(std::function<void()> job);
  // Every job handed over is done when it returns.
  void Finish();

 private:
  void Work();
  void Do(const std::function<void()>& job);
  void End();

  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> waiting_;  // under lock_
  bool ending_ = false;                        // under lock_
  std::exception_ptr firstError_;              // under lock_
  std::vector<std::thread> threads_;
};

}  // namespace pub
