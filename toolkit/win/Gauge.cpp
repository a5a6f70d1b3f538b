#include "toolkit/win/Gauge.h"

#include <climits>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/Errors.h"

namespace tk {

Gauge::Gauge(Component* owner, Control* parent) : DrawnControl(owner, parent) {
  CreateHandle(RegisterOwnClass(L"QuarnGauge", CS_HREDRAW | CS_VREDRAW, nullptr), 0, WS_EX_STATICEDGE);
}

void Gauge::SetMinValue(int value) {
  if (value > max_) throw EInvalidOperation(Format("Value must be between %d and %d", INT_MIN, max_));
  min_ = value;
  SetProgress(progress_);  // clamps, and redraws what changed
}

void Gauge::SetMaxValue(int value) {
  if (value < min_) throw EInvalidOperation(Format("Value must be between %d and %d", min_, INT_MAX));
  max_ = value;
  SetProgress(progress_);
}

void Gauge::SetProgress(int value) {
  progress_ = value < min_ ? min_ : value > max_ ? max_ : value;
  Changed();
}

int Gauge::PercentDone() const {
  if (max_ == min_) return 0;
  return static_cast<int>(100LL * (static_cast<long long>(progress_) - min_) /
                          (static_cast<long long>(max_) - min_));
}

std::string Gauge::PercentText() const { return Format("%d%%", PercentDone()); }

int Gauge::BarWidth() const {
  if (max_ == min_) return 0;
  RECT client;
  GetClientRect(hwnd_, &client);
  return static_cast<int>(static_cast<long long>(client.right) * (static_cast<long long>(progress_) - min_) /
                          (static_cast<long long>(max_) - min_));
}

void Gauge::Changed() {
  if (!hwnd_) return;
  int percent = PercentDone(), bar = BarWidth();
  // Screen readers hear each new percentage, at most a hundred times in a run.
  if (percent != announcedPercent_) {
    announcedPercent_ = percent;
    NotifyValueChanged(hwnd_);
  }
  if (percent == drawnPercent_ && bar == drawnBar_) return;
  Repaint();
}

void Gauge::Paint(HDC dc, const RECT& clientArea, const RECT&) {
  RECT client = clientArea;  // DrawTextW takes a writable rectangle
  // Drawn off screen, then copied, so the gauge does not flicker while a run steps it.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  drawnPercent_ = PercentDone();
  drawnBar_ = BarWidth();
  RECT done = {0, 0, drawnBar_, client.bottom};
  RECT rest = {drawnBar_, 0, client.right, client.bottom};
  FillRect(memory, &done, SolidBrush(kNavy));
  FillRect(memory, &rest, SolidBrush(kWhite));
  HGDIOBJ oldFont = SelectObject(memory, DrawingFont());
  SetBkMode(memory, TRANSPARENT);
  std::wstring text = ToWide(PercentText());
  // The text in white over the bar and in black over the rest, as one reads it on both.
  SetTextColor(memory, RGB(0, 0, 0));
  DrawTextW(memory, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  HRGN clip = CreateRectRgnIndirect(&done);
  SelectClipRgn(memory, clip);
  SetTextColor(memory, kWhite);
  DrawTextW(memory, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectClipRgn(memory, nullptr);
  DeleteObject(clip);
  SelectObject(memory, oldFont);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace tk
