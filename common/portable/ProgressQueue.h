// Progress that crosses from a worker thread to the thread that shows it. The worker reports
// into the queue as into any Progress; the showing thread calls DrainInto now and then, and
// every call the worker made reaches the display there, in the order it was made, nothing
// merged or dropped. The queue is the only thing the two threads share: a lock held for the
// length of one append or one swap, never while the display draws.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/portable/Progress.h"

namespace pub {

class ProgressQueue : public Progress {
 public:
  ProgressQueue() = default;
  ProgressQueue(const ProgressQueue&) = delete;
  ProgressQueue& operator=(const ProgressQueue&) = delete;

  // The worker's side.
  void Step(const std::string& title) override;
  void Range(int total) override;
  void Advance() override;
  void Complete() override;
  void Status(const std::string& text) override;
  void Line(const std::string& text) override;
  void Note(const std::string& text) override;
  void Failure(const std::string& what, const std::string& reason) override;
  void Outcome(RunStep step, bool succeeded, const std::string& reason) override;
  void Flush() override;
  // Work that belongs to the showing thread (filling a form's list once staging has found the
  // products): run by DrainInto, in its place among the reports.
  void Later(std::function<void()> work);

  // The showing thread's side: hands every report queued so far to display, in order.
  // Returns whether there was any.
  bool DrainInto(Progress& display);

 private:
  enum class Kind { Step, Range, Advance, Complete, Status, Line, Note, Failure, Outcome, Flush, Later };
  struct Report {
    Kind kind;
    std::string text;
    std::string reason;
    int number = 0;
    RunStep step = RunStep::Stage;
    bool succeeded = false;
    std::function<void()> work;
  };
  static Report Of(Kind kind, std::string text = {}, std::string reason = {});
  void Push(Report report);

  std::mutex lock_;
  std::vector<Report> queued_;
  std::vector<Report> draining_;  // used by the showing thread alone; kept to reuse its storage
};

}  // namespace pub
