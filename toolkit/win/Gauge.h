// A progress gauge drawn by us: integer minimum, maximum and position, the position always
// clamped into the range, and the percentage written on it as "%d%%".
#pragma once

#include <string>

#include "toolkit/win/DrawnControl.h"

namespace tk {

class Gauge : public DrawnControl {
 public:
  Gauge(Component* owner, Control* parent);

  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  int Progress() const { return progress_; }
  // A minimum above the maximum, or a maximum below the minimum, raises EInvalidOperation
  // "Value must be between %d and %d".
  void SetMinValue(int value);
  void SetMaxValue(int value);
  void SetProgress(int value);
  void AddProgress(int delta) { SetProgress(static_cast<int>(static_cast<long long>(progress_) + delta)); }

  // 100 * (position - minimum) / (maximum - minimum), truncated; 0 when the range is empty.
  int PercentDone() const;
  std::string PercentText() const;

 protected:
  void Paint(HDC dc, const RECT& client, const RECT& dirty) override;
  // A progress bar whose value is the percentage shown.
  AccessibleDescription DescribeForAccessibility() const override {
    return {ROLE_SYSTEM_PROGRESSBAR, STATE_SYSTEM_READONLY, [this] { return PercentText(); }};
  }

 private:
  // Repaints only when what is drawn (the bar's width or the percentage) has changed, so a run
  // that steps the gauge once per file does not paint once per file.
  void Changed();
  int BarWidth() const;

  int min_ = 0, max_ = 100, progress_ = 0;
  int drawnPercent_ = -1, drawnBar_ = -1;
  int announcedPercent_ = 0;
};

}  // namespace tk
