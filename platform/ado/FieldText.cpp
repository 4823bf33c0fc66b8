#include "platform/ado/FieldText.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

template <typename Number> std::string ShortestDecimal(Number value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

} // namespace

std::string FloatText(float value) { return ShortestDecimal(value); }

std::string FloatText(double value) { return ShortestDecimal(value); }

// For days before 1899-12-30 the fraction still counts forward from midnight:
// -1.25 is 1899-12-29 06:00.
std::string DateTimeText(double accessDate) {
  constexpr double kFirstDay = -657434; // 0100-01-01
  constexpr double kLastDay = 2958465;  // 9999-12-31
  if (!(accessDate >= kFirstDay && accessDate < kLastDay + 1))
    return FloatText(accessDate);
  long long day = static_cast<long long>(std::trunc(accessDate));
  long long seconds = std::llround(std::fabs(accessDate - static_cast<double>(day)) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  using namespace std::chrono;
  const year_month_day date{sys_days{year{1899} / December / 30} + days{day}};
  char text[32];
  int length = std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                             static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  if (seconds != 0)
    length += std::snprintf(text + length, sizeof text - length, " %02lld:%02lld:%02lld", seconds / 3600,
                            seconds / 60 % 60, seconds % 60);
  return std::string(text, static_cast<std::size_t>(length));
}

std::string HexText(const unsigned char *bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * count);
  for (std::size_t i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0xF]);
  }
  return text;
}
