// What a long run reports as it goes: the step it is in, a count of items, the item at hand,
// a running log, and failures with their reasons. The wizard shows it on its gauge, labels and
// memo; an unattended run writes it to its log. The routines that walk files call it once per
// item: an implementation that draws keeps up at a human rate, not per call.
#pragma once

#include <string>

namespace pub {

// The steps of a run, as its progress and its log name them.
enum class RunStep { Stage, Copy, Patch, Services, Environment, Record, Remove };

class Progress {
 public:
  virtual ~Progress() = default;

  // A named step of a run begins ("解压文件到临时目录：").
  virtual void Step(const std::string& title) = 0;
  // The items to come: a range 0..total, position 0.
  virtual void Range(int total) = 0;
  // One item done.
  virtual void Advance() = 0;
  // The whole range done.
  virtual void Complete() = 0;
  // The item or action at hand, as one status line.
  virtual void Status(const std::string& text) = 0;
  // One more line of the running log.
  virtual void Line(const std::string& text) = 0;
  // A line the run log keeps as well as the display: a command run and its outcome, a file
  // kept as the user or a service left it.
  virtual void Note(const std::string& text) { Line(text); }
  // Something failed: what (a file, a step) and the system's reason.
  virtual void Failure(const std::string& what, const std::string& reason) = 0;
  // A step of a run has ended, well or with the reason it failed. A display has shown both
  // already; a log records them.
  virtual void Outcome(RunStep step, bool succeeded, const std::string& reason) {
    (void)step, (void)succeeded, (void)reason;
  }
  // Shows whatever was held back, so the display ends on the last item. A walk calls it last.
  virtual void Flush() {}
};

// A run with nothing to show it on: an unattended run, whose log is all it writes.
class NoDisplay : public Progress {
 public:
  void Step(const std::string&) override {}
  void Range(int) override {}
  void Advance() override {}
  void Complete() override {}
  void Status(const std::string&) override {}
  void Line(const std::string&) override {}
  void Failure(const std::string&, const std::string&) override {}
};

}  // namespace pub
