// Timestamps as day counts since 30 December 1899 with the time of day as fraction, local time.
#pragma once

#include <string>

namespace tk {

using TDateTime = double;

// The current local date and time, to the millisecond.
TDateTime Now();
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);
// "YYYY-MM-DD HH:MM:SS.mmm"
std::string FormatDateTime(TDateTime value);

}  // namespace tk
