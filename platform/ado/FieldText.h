#pragma once
// The text of values that are not text (DB.h lists every kind's form). None of
// them depends on the locale: a German desktop must not turn 3.5 into "3,5".

#include <cstddef>
#include <string>

// The shortest decimal that reads back as the same number, "." as decimal point.
std::string FloatText(float value);
std::string FloatText(double value);

// An Access date (days since 1899-12-30, the fraction the time of day) as
// "YYYY-MM-DD", followed by " HH:MM:SS" unless the time is midnight. A number
// outside the years 100 to 9999 is no date and gives its FloatText.
std::string DateTimeText(double accessDate);

// The bytes in upper-case hexadecimal.
std::string HexText(const unsigned char *bytes, std::size_t count);
