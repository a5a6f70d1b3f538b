// Wall-clock seconds from the performance counter, for the benchmarks' side-by-side timings.
#pragma once

#include <windows.h>

inline double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}
