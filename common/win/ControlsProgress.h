// Progress shown on a window's controls: the step title on a label, the items on a gauge, the
// item at hand on a status label, log lines in a memo (each may be none). The status label and
// the gauge repaint at once when changed, so each is changed at most every kStatusIntervalMs:
// the last text and the items held back are shown by Flush. Failures go to the memo, as lines.
#pragma once

#include <windows.h>

#include "common/portable/Progress.h"

namespace tk {
class Gauge;
class Label;
class Memo;
}  // namespace tk

namespace pub {

class ControlsProgress : public Progress {
 public:
  static constexpr DWORD kStatusIntervalMs = 40;

  ControlsProgress(tk::Gauge* gauge, tk::Label* status, tk::Memo* memo, tk::Label* stepTitle = nullptr)
      : gauge_(gauge), status_(status), memo_(memo), stepTitle_(stepTitle) {}
  ~ControlsProgress() override { Flush(); }
  ControlsProgress(const ControlsProgress&) = delete;
  ControlsProgress& operator=(const ControlsProgress&) = delete;

  void Step(const std::string& title) override;
  void Range(int total) override;
  void Advance() override;
  void Complete() override;
  void Status(const std::string& text) override;
  void Line(const std::string& text) override;
  void Failure(const std::string& what, const std::string& reason) override;
  void Flush() override;

 private:
  tk::Gauge* gauge_;
  tk::Label* status_;
  tk::Memo* memo_;
  tk::Label* stepTitle_;
  void ShowSteps();

  DWORD shownAt_ = 0;
  bool shownOnce_ = false;
  DWORD stepsShownAt_ = 0;
  int unshownSteps_ = 0;  // items done and not yet on the gauge
  bool pending_ = false;
  std::string pendingText_;
};

}  // namespace pub
