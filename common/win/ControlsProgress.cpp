#include "common/win/ControlsProgress.h"

#include "toolkit/win/Gauge.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"

namespace pub {

void ControlsProgress::Step(const std::string& title) {
  if (stepTitle_) stepTitle_->SetCaption(title);
}

void ControlsProgress::Range(int total) {
  if (!gauge_) return;
  unshownSteps_ = 0;
  gauge_->SetMinValue(0);
  gauge_->SetProgress(0);
  gauge_->SetMaxValue(total);
}

// The gauge repaints whenever its bar grows by a pixel, hundreds of times in a run, and each
// repaint is a round trip to the window system: items are shown at the status label's pace.
void ControlsProgress::Advance() {
  if (!gauge_) return;
  ++unshownSteps_;
  if (GetTickCount() - stepsShownAt_ >= kStatusIntervalMs) ShowSteps();
}

void ControlsProgress::ShowSteps() {
  gauge_->AddProgress(unshownSteps_);
  unshownSteps_ = 0;
  stepsShownAt_ = GetTickCount();
}

void ControlsProgress::Complete() {
  if (!gauge_) return;
  unshownSteps_ = 0;
  gauge_->SetProgress(gauge_->MaxValue());
}

void ControlsProgress::Status(const std::string& text) {
  if (!status_) return;
  DWORD now = GetTickCount();
  if (shownOnce_ && now - shownAt_ < kStatusIntervalMs) {
    pending_ = true;
    pendingText_ = text;
    return;
  }
  status_->SetCaption(text);
  shownAt_ = now;
  shownOnce_ = true;
  pending_ = false;
}

// The memo brings its view up to date at its own pace, when messages are handled.
void ControlsProgress::Line(const std::string& text) {
  if (memo_) memo_->AddLine(text);
}

void ControlsProgress::Failure(const std::string& what, const std::string& reason) {
  Line(what + "：" + reason);
}

void ControlsProgress::Flush() {
  if (gauge_ && unshownSteps_) ShowSteps();
  if (!pending_) return;
  pending_ = false;
  status_->SetCaption(pendingText_);
  shownAt_ = GetTickCount();
}

}  // namespace pub
