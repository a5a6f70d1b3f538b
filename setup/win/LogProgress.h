// Progress written to the run log: steps with their outcomes and every failed file with the
// system's reason; the file-by-file status of a display is left out. The log is UTF-8, opened
// to append for each line, so a crash loses nothing written before it and two runs never
// interleave inside a line.
#pragma once

#include <string>

#include "common/portable/Progress.h"
#include "setup/portable/RunFolders.h"
#include "setup/portable/RunLog.h"

namespace pub {

// The run log's file: folders.logPath when one is given, otherwise quarn-setup.log in the
// temporary folder the staging folder was made in (%TEMP% when there is none yet). The path is
// wide: the log's own text is UTF-8, and its path need not be one GBK can hold.
class RunLogFile : public RunLogWriter {
 public:
  explicit RunLogFile(const setup::RunFolders& folders);
  void Append(const std::string& utf8Line) override;
  const std::wstring& Path() const { return path_; }
  static std::wstring DefaultPath(const std::string& stagingFolder);

 private:
  std::wstring path_;
};

LocalTime Now();

// One line of its own in the run log (the one /LOG names, or the default), outside any run: a
// command the wizard's final page ran, a task the program ignored.
void AppendLogNote(const setup::RunFolders& folders, const std::string& text);

// Shows nothing; writes what the log keeps.
class LogProgress : public NoDisplay {
 public:
  explicit LogProgress(RunLog& log) : log_(log) {}
  void Note(const std::string& text) override { log_.Note(Now(), text); }
  void Failure(const std::string& what, const std::string& reason) override { log_.FileFailed(Now(), what, reason); }
  void Outcome(RunStep step, bool succeeded, const std::string& reason) override;

 private:
  RunLog& log_;
};

// Both at once: the wizard's display and the log.
class TeeProgress : public Progress {
 public:
  TeeProgress(Progress& first, Progress& second) : a_(first), b_(second) {}
  void Step(const std::string& title) override { a_.Step(title), b_.Step(title); }
  void Range(int total) override { a_.Range(total), b_.Range(total); }
  void Advance() override { a_.Advance(), b_.Advance(); }
  void Complete() override { a_.Complete(), b_.Complete(); }
  void Status(const std::string& text) override { a_.Status(text), b_.Status(text); }
  void Line(const std::string& text) override { a_.Line(text), b_.Line(text); }
  void Note(const std::string& text) override { a_.Note(text), b_.Note(text); }
  void Failure(const std::string& what, const std::string& reason) override {
    a_.Failure(what, reason), b_.Failure(what, reason);
  }
  void Outcome(RunStep step, bool succeeded, const std::string& reason) override {
    a_.Outcome(step, succeeded, reason), b_.Outcome(step, succeeded, reason);
  }
  void Flush() override { a_.Flush(), b_.Flush(); }

 private:
  Progress& a_;
  Progress& b_;
};

}  // namespace pub
