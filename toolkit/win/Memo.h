// A read-only text box of many lines, drawn by us and built for volume: a run appends one
// line per file, tens of thousands in all. Appending measures only the new line; the view
// (scrolling to the end, the scroll bar, the new rows) is brought up to date when messages are
// next handled, at most every kViewUpdateMs, and then redraws only the rows that changed.
// Painting draws only the rows in view. Long lines wrap at the width.
#pragma once

#include <string>
#include <vector>

#include "toolkit/win/DrawnControl.h"

namespace tk {

struct MemoStyle {
  bool border = true;
  bool verticalScrollBar = false;
};

class Memo : public DrawnControl {
 public:
  Memo(Component* owner, Control* parent, const MemoStyle& style = MemoStyle());
  ~Memo() override;

  static constexpr unsigned kViewUpdateMs = 100;

  // Appends one line; the view follows the end when it showed the end before.
  void AddLine(const std::string& line);
  // Replaces everything; lines are split at CR LF, LF or CR, and a NUL ends the text.
  void SetText(const std::string& text);
  std::string Text() const;  // lines joined with CR LF
  void Clear();

  int LineCount() const { return static_cast<int>(lines_.size()); }
  const std::string& Line(int index) const { return lines_.at(static_cast<size_t>(index)); }
  int RowCount() const { return rowStart_.empty() ? 0 : rowStart_.back(); }
  int TopRow() const { return topRow_; }
  int VisibleRows() const;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  // Where each row of a line starts (UTF-16 offsets), for the current width.
  std::vector<int> Wrap(const std::wstring& line) const;
  void Rewrap();
  void ScrollTo(int row);
  // The scroll bar's request (SB_LINEUP ...), and the keys that scroll; false for any other key.
  void OnScrollBar(WORD request);
  bool OnScrollKey(WPARAM key);
  void ScheduleViewUpdate();
  void ApplyViewUpdate();
  void UpdateScrollBar();
  void Paint(HDC dc, const RECT& client, const RECT& dirty) override;
  int TextWidth() const;
  HDC MeasuringDc() const;
  void FontChanged() override;
  // Read-only text whose value is every line.
  AccessibleDescription DescribeForAccessibility() const override;

  MemoStyle style_;
  std::vector<std::string> lines_;
  std::vector<int> rowStart_;  // rowStart_[i]: first row of line i; one more entry: total rows
  int topRow_ = 0;
  int clientWidth_ = 0, clientHeight_ = 0;
  int shownRows_ = 0;          // rows the view was last brought up to date with
  bool followPending_ = false;
  bool updateScheduled_ = false;
  DWORD lastUpdate_ = 0;
  int rowHeight_ = 14;
  int wrapWidth_ = 0;
  mutable HDC measuringDc_ = nullptr;
};

}  // namespace tk
