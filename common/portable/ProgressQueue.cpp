#include "common/portable/ProgressQueue.h"

#include <utility>

namespace pub {

void ProgressQueue::Push(Report report) {
  std::lock_guard<std::mutex> hold(lock_);
  queued_.push_back(std::move(report));
}

ProgressQueue::Report ProgressQueue::Of(Kind kind, std::string text, std::string reason) {
  Report report;
  report.kind = kind;
  report.text = std::move(text);
  report.reason = std::move(reason);
  return report;
}

void ProgressQueue::Step(const std::string& title) { Push(Of(Kind::Step, title)); }
void ProgressQueue::Range(int total) {
  Report report = Of(Kind::Range);
  report.number = total;
  Push(std::move(report));
}
void ProgressQueue::Advance() { Push(Of(Kind::Advance)); }
void ProgressQueue::Complete() { Push(Of(Kind::Complete)); }
void ProgressQueue::Status(const std::string& text) { Push(Of(Kind::Status, text)); }
void ProgressQueue::Line(const std::string& text) { Push(Of(Kind::Line, text)); }
void ProgressQueue::Note(const std::string& text) { Push(Of(Kind::Note, text)); }
void ProgressQueue::Failure(const std::string& what, const std::string& reason) {
  Push(Of(Kind::Failure, what, reason));
}
void ProgressQueue::Outcome(RunStep step, bool succeeded, const std::string& reason) {
  Report report = Of(Kind::Outcome, {}, reason);
  report.step = step;
  report.succeeded = succeeded;
  Push(std::move(report));
}
void ProgressQueue::Flush() { Push(Of(Kind::Flush)); }
void ProgressQueue::Later(std::function<void()> work) {
  Report report = Of(Kind::Later);
  report.work = std::move(work);
  Push(std::move(report));
}

bool ProgressQueue::DrainInto(Progress& display) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    draining_.swap(queued_);
  }
  if (draining_.empty()) return false;
  // Cleared whatever a report does, so that a report that throws is not handed out twice.
  struct Clear {
    std::vector<Report>& reports;
    ~Clear() { reports.clear(); }
  } clear{draining_};
  for (Report& report : draining_) {
    switch (report.kind) {
      case Kind::Step: display.Step(report.text); break;
      case Kind::Range: display.Range(report.number); break;
      case Kind::Advance: display.Advance(); break;
      case Kind::Complete: display.Complete(); break;
      case Kind::Status: display.Status(report.text); break;
      case Kind::Line: display.Line(report.text); break;
      case Kind::Note: display.Note(report.text); break;
      case Kind::Failure: display.Failure(report.text, report.reason); break;
      case Kind::Outcome: display.Outcome(report.step, report.succeeded, report.reason); break;
      case Kind::Flush: display.Flush(); break;
      case Kind::Later: report.work(); break;
    }
  }
  return true;
}

}  // namespace pub
