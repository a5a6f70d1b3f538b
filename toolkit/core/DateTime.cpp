#include "toolkit/core/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "toolkit/core/Errors.h"

namespace tk {
namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int* year, int* month, int* day) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(static_cast<long>(yoe) + era * 400 + (*month <= 2));
}

const long kEpochOffset = 25569;  // days from 1899-12-30 to 1970-01-01
const double kFirstDay = -693593;  // 0001-01-01
const double kLastDay = 2958465;   // 9999-12-31

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  double days = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                    kEpochOffset);
  double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  return days + fraction;
}

TDateTime Now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  int millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec, millisecond);
}

std::string FormatDateTime(TDateTime value) {
  // Outside years 1 to 9999 (also NaN and infinities) the day count would not fit the integer
  // arithmetic below; a damaged archive header can hold any double.
  if (!(value >= kFirstDay && value < kLastDay + 1)) return "(invalid)";
  // Whole milliseconds since the epoch of the format; negative days count backwards, with a
  // positive time of day, as the format defines.
  double days = std::floor(value);
  long long ms = std::llround((value - days) * 86400000.0);
  long dayCount = static_cast<long>(days);
  if (ms >= 86400000) {
    ms -= 86400000;
    ++dayCount;
  }
  int year, month, day;
  CivilFromDays(dayCount - kEpochOffset, &year, &month, &day);
  int hour = static_cast<int>(ms / 3600000), minute = static_cast<int>(ms / 60000 % 60);
  int second = static_cast<int>(ms / 1000 % 60), millisecond = static_cast<int>(ms % 1000);
  return Format("%04d-%02d-%02d %02d:%02d:%02d.%03d", year, month, day, hour, minute, second, millisecond);
}

}  // namespace tk
