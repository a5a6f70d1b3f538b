// The lines of the run log that unattended and wizard runs append to: one line when the run
// starts, one per step with its outcome, one per file that could not be handled, one when the
// run ends. Every line starts with the local time. Texts come in as GBK and go out as UTF-8,
// so the log reads the same on any system.
#pragma once

#include <string>

#include "common/portable/ExitCode.h"
#include "common/portable/Progress.h"

namespace pub {

// Local time as the caller reads it from the system clock.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Where the lines go: a file on Windows, a list in tests.
class RunLogWriter {
 public:
  virtual ~RunLogWriter() = default;
  // One line of UTF-8 without its line break.
  virtual void Append(const std::string& utf8Line) = 0;
};

enum class RunAction { Install, Repair, Uninstall };

class RunLog {
 public:
  explicit RunLog(RunLogWriter& writer) : writer_(writer) {}

  // version and folder are left out of the line when empty.
  void Started(const LocalTime& time, RunAction action, const std::string& version, const std::string& folder);
  void StepDone(const LocalTime& time, RunStep step);
  // A reason of several lines (CR LF inside) continues on lines of its own.
  void StepFailed(const LocalTime& time, RunStep step, const std::string& reason);
  void FileFailed(const LocalTime& time, const std::string& file, const std::string& reason);
  // A line of its own within a step: a command and its outcome, a file kept.
  void Note(const LocalTime& time, const std::string& text);
  void Finished(const LocalTime& time, ExitCode code);

 private:
  // Writes text (GBK) after the time; each further line of continuation on a line of its own.
  void Write(const LocalTime& time, const std::string& text, const std::string& continuation = "");

  RunLogWriter& writer_;
};

// "YYYY-MM-DD HH:MM:SS".
std::string FormatLocalTime(const LocalTime& time);

// GBK to UTF-8 for the log: a byte that is no GBK character becomes '?', so a damaged name
// is still logged rather than losing the line.
std::string LogUtf8(const std::string& gbk);

}  // namespace pub
