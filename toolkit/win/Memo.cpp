#include "toolkit/win/Memo.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/TextLines.h"

namespace tk {
namespace {
constexpr int kMargin = 2;
constexpr int kWheelRows = 3;
constexpr UINT kViewUpdateMessage = WM_APP + 10;
constexpr UINT_PTR kViewUpdateTimer = 1;
}  // namespace

Memo::Memo(Component* owner, Control* parent, const MemoStyle& style) : DrawnControl(owner, parent), style_(style) {
  rowStart_.push_back(0);
  SetColor(GetSysColor(COLOR_WINDOW));
  DWORD windowStyle = WS_TABSTOP | (style.verticalScrollBar ? WS_VSCROLL : 0);
  CreateHandle(RegisterOwnClass(L"QuarnMemo", 0, nullptr), windowStyle, style.border ? WS_EX_CLIENTEDGE : 0);
  UpdateScrollBar();
}

Memo::~Memo() {
  if (measuringDc_) DeleteDC(measuringDc_);
}

// Holds the drawing font, selected when it is made and again when the font changes.
HDC Memo::MeasuringDc() const {
  if (!measuringDc_) {
    measuringDc_ = CreateCompatibleDC(nullptr);
    SelectObject(measuringDc_, DrawingFont());
  }
  return measuringDc_;
}

int Memo::TextWidth() const { return std::max(1, clientWidth_ - 2 * kMargin); }

int Memo::VisibleRows() const { return std::max(1, clientHeight_ / rowHeight_); }

std::vector<int> Memo::Wrap(const std::wstring& line) const {
  std::vector<int> starts{0};
  HDC dc = MeasuringDc();
  int length = static_cast<int>(line.size());
  int start = 0;
  while (start < length) {
    int fit = 0;
    SIZE size;
    GetTextExtentExPointW(dc, line.c_str() + start, length - start, wrapWidth_, &fit, nullptr, &size);
    if (start + fit >= length) break;
    int cut = start + std::max(fit, 1);
    // Chinese text breaks between any two characters; a Latin word is kept whole by breaking
    // after the blank or the Chinese character before it, when there is one on this row.
    auto inWord = [&](int i) { return line[static_cast<size_t>(i)] < 0x80 && line[static_cast<size_t>(i)] != L' '; };
    if (inWord(cut - 1) && inWord(cut)) {
      int i = cut - 1;
      while (i > start && inWord(i - 1)) --i;
      if (i > start) cut = i;
    }
    starts.push_back(cut);
    start = cut;
  }
  return starts;
}

void Memo::AddLine(const std::string& line) {
  followPending_ = followPending_ || topRow_ + VisibleRows() >= RowCount();
  lines_.push_back(line);
  rowStart_.push_back(RowCount() + static_cast<int>(Wrap(ToWide(line)).size()));
  ScheduleViewUpdate();
}

void Memo::ScheduleViewUpdate() {
  if (updateScheduled_ || !hwnd_) return;
  updateScheduled_ = true;
  PostMessageW(hwnd_, kViewUpdateMessage, 0, 0);
}

void Memo::ApplyViewUpdate() {
  updateScheduled_ = false;
  lastUpdate_ = GetTickCount();
  if (followPending_ && RowCount() > topRow_ + VisibleRows()) ScrollTo(RowCount() - VisibleRows());
  followPending_ = false;
  // The rows added since the last update, where they are in view.
  int first = std::max(shownRows_, topRow_), last = std::min(RowCount(), topRow_ + VisibleRows() + 1);
  if (first < last) {
    RECT rows = {0, (first - topRow_) * rowHeight_, clientWidth_, (last - topRow_) * rowHeight_};
    InvalidateRect(hwnd_, &rows, FALSE);
  }
  shownRows_ = RowCount();
  UpdateScrollBar();
}
void Memo::SetText(const std::string& text) {
  lines_ = SplitTextLines(text);
  topRow_ = 0;
  Rewrap();
}

std::string Memo::Text() const { return JoinTextLines(lines_); }

// The value is the lines with a line end between each two (Text() ends the last one too).
AccessibleDescription Memo::DescribeForAccessibility() const {
  return {ROLE_SYSTEM_TEXT, STATE_SYSTEM_READONLY, [this] {
            std::string text = Text();
            if (!lines_.empty()) text.resize(text.size() - 2);
            return text;
          }};
}

void Memo::Clear() {
  lines_.clear();
  topRow_ = 0;
  Rewrap();
}

void Memo::Rewrap() {
  wrapWidth_ = TextWidth();
  rowStart_.assign(1, 0);
  rowStart_.reserve(lines_.size() + 1);
  for (const std::string& line : lines_)
    rowStart_.push_back(rowStart_.back() + static_cast<int>(Wrap(ToWide(line)).size()));
  topRow_ = std::max(0, std::min(topRow_, RowCount() - VisibleRows()));
  shownRows_ = RowCount();
  followPending_ = false;
  UpdateScrollBar();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Memo::ScrollTo(int row) {
  row = std::max(0, std::min(row, RowCount() - VisibleRows()));
  if (row == topRow_) return;
  int delta = topRow_ - row;
  topRow_ = row;
  // Moves what is already drawn and invalidates only the uncovered rows.
  if (std::abs(delta) < VisibleRows())
    ScrollWindowEx(hwnd_, 0, delta * rowHeight_, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  else
    InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateScrollBar();
}

void Memo::UpdateScrollBar() {
  if (!hwnd_ || !style_.verticalScrollBar) return;
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
  info.nMin = 0;
  info.nMax = std::max(0, RowCount() - 1);
  info.nPage = static_cast<UINT>(VisibleRows());
  info.nPos = topRow_;
  SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void Memo::FontChanged() {
  SelectObject(MeasuringDc(), DrawingFont());
  TEXTMETRICW metrics;
  GetTextMetricsW(MeasuringDc(), &metrics);
  rowHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
  Rewrap();
}

void Memo::Paint(HDC dc, const RECT&, const RECT& area) {
  FillRect(dc, &area, SolidBrush(BackgroundColor()));
  HGDIOBJ oldFont = SelectObject(dc, DrawingFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColor());
  int firstRow = topRow_ + std::max(0, static_cast<int>(area.top)) / rowHeight_;
  int lastRow = topRow_ + (static_cast<int>(area.bottom) + rowHeight_ - 1) / rowHeight_;
  // The line holding firstRow, found by its row start.
  size_t index = static_cast<size_t>(std::upper_bound(rowStart_.begin(), rowStart_.end(), firstRow) - rowStart_.begin());
  for (size_t i = index ? index - 1 : 0; i < lines_.size() && rowStart_[i] < lastRow; ++i) {
    std::wstring text = ToWide(lines_[i]);
    std::vector<int> starts = Wrap(text);
    for (size_t r = 0; r < starts.size(); ++r) {
      int row = rowStart_[i] + static_cast<int>(r);
      if (row < firstRow || row >= lastRow) continue;
      int end = r + 1 < starts.size() ? starts[r + 1] : static_cast<int>(text.size());
      TextOutW(dc, kMargin, (row - topRow_) * rowHeight_, text.c_str() + starts[r], end - starts[r]);
    }
  }
  SelectObject(dc, oldFont);
}

void Memo::OnScrollBar(WORD request) {
  SCROLLINFO info = {sizeof info, SIF_ALL};
  GetScrollInfo(hwnd_, SB_VERT, &info);
  const int page = VisibleRows();
  switch (request) {
    case SB_LINEUP: ScrollTo(topRow_ - 1); break;
    case SB_LINEDOWN: ScrollTo(topRow_ + 1); break;
    case SB_PAGEUP: ScrollTo(topRow_ - page); break;
    case SB_PAGEDOWN: ScrollTo(topRow_ + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(RowCount()); break;
  }
}

bool Memo::OnScrollKey(WPARAM key) {
  switch (key) {
    case VK_UP: ScrollTo(topRow_ - 1); return true;
    case VK_DOWN: ScrollTo(topRow_ + 1); return true;
    case VK_PRIOR: ScrollTo(topRow_ - VisibleRows()); return true;
    case VK_NEXT: ScrollTo(topRow_ + VisibleRows()); return true;
    case VK_HOME: ScrollTo(0); return true;
    case VK_END: ScrollTo(RowCount()); return true;
  }
  return false;
}

bool Memo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_SIZE:
      clientWidth_ = LOWORD(lParam);
      clientHeight_ = HIWORD(lParam);
      if (TextWidth() != wrapWidth_)
        Rewrap();  // brings the scroll bar up to date too
      else
        UpdateScrollBar();
      return true;
    case kViewUpdateMessage: {
      // At most one update every kViewUpdateMs; a timer brings the last one.
      DWORD since = GetTickCount() - lastUpdate_;
      if (since < kViewUpdateMs)
        SetTimer(hwnd_, kViewUpdateTimer, kViewUpdateMs - since, nullptr);
      else
        ApplyViewUpdate();
      return true;
    }
    case WM_TIMER:
      if (wParam != kViewUpdateTimer) return false;
      KillTimer(hwnd_, kViewUpdateTimer);
      ApplyViewUpdate();
      return true;
    case WM_VSCROLL:
      OnScrollBar(LOWORD(wParam));
      return true;
    case WM_MOUSEWHEEL:
      ScrollTo(topRow_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelRows);
      return true;
    case WM_KEYDOWN:
      return OnScrollKey(wParam);
    case WM_GETDLGCODE:
      *result = DLGC_WANTARROWS;
      return true;
    case WM_LBUTTONDOWN:
      SetFocus();
      return true;
    default:
      return DrawnControl::HandleMessage(message, wParam, lParam, result);
  }
}

}  // namespace tk
