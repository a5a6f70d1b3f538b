#include "common/portable/OrderedWriters.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pub {
namespace {

void RunInline(int items, const std::function<ItemJob()>& makeJob,
               const std::function<bool(int, std::exception_ptr)>& finished) {
  const ItemJob job = makeJob();
  for (int item = 0; item < items; ++item) {
    std::exception_ptr error;
    try {
      job(item);
    } catch (...) {
      error = std::current_exception();
    }
    if (!finished(item, error)) return;
  }
}

// What the writers and the calling thread share.
struct Board {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<char> done;  // per item, under lock
  std::vector<std::exception_ptr> errors;  // per item, written before its done
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  int writersEnded = 0;  // under lock
  std::exception_ptr writerError;  // makeJob's, under lock
};

void Write(Board& board, int items, const std::function<ItemJob()>& makeJob) {
  ItemJob job;
  try {
    job = makeJob();
  } catch (...) {
    std::lock_guard<std::mutex> hold(board.lock);
    if (!board.writerError) board.writerError = std::current_exception();
  }
  while (job && !board.stop) {
    const int item = board.next++;
    if (item >= items) break;
    std::exception_ptr error;
    try {
      job(item);
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> hold(board.lock);
    board.errors[item] = error;
    board.done[item] = 1;
    board.changed.notify_all();
  }
  std::lock_guard<std::mutex> hold(board.lock);
  ++board.writersEnded;
  board.changed.notify_all();
}

}  // namespace

void RunOrdered(int items, int writers, const std::function<ItemJob()>& makeJob,
                const std::function<bool(int item, std::exception_ptr error)>& finished) {
  writers = std::max(1, std::min(writers, items));
  if (writers == 1) return RunInline(items, makeJob, finished);

  Board board;
  board.done.assign(items, 0);
  board.errors.resize(items);
  std::vector<std::thread> threads;
  // Joined on every way out, a throwing finished included. The guard stands before the first
  // thread starts: were a later one refused with the first already running, the running one's
  // destruction would end the process.
  struct Joiner {
    Board& board;
    std::vector<std::thread>& threads;
    ~Joiner() {
      board.stop = true;
      for (std::thread& thread : threads)
        if (thread.joinable()) thread.join();
    }
  } joiner{board, threads};
  threads.reserve(writers);
  // A writer the system will not start (no threads or memory left) leaves its share to those
  // that started, as one whose job could not be made does; with none, the caller writes alone.
  for (int i = 0; i < writers; ++i) {
    try {
      threads.emplace_back([&] { Write(board, items, makeJob); });
    } catch (const std::system_error&) {
      break;
    }
  }
  if (threads.empty()) return RunInline(items, makeJob, finished);
  const int started = static_cast<int>(threads.size());

  for (int item = 0; item < items; ++item) {
    std::exception_ptr error;
    {
      std::unique_lock<std::mutex> hold(board.lock);
      // A writer whose job could not be made leaves its items to the others; when every writer
      // has ended with items left, the reason is thrown.
      board.changed.wait(hold, [&] { return board.done[item] || board.writersEnded == started; });
      if (!board.done[item]) {
        if (board.writerError) std::rethrow_exception(board.writerError);
        return;  // cannot happen: the writers end only when every item was taken
      }
      error = board.errors[item];
    }
    if (!finished(item, error)) return;
  }
}

}  // namespace pub
