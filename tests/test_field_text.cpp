#include "platform/ado/FieldText.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#include "tests/TempDir.h"

struct DateCase {
  double accessDate;
  const char *text;
};

void PrintTo(const DateCase &c, std::ostream *out) { *out << c.text; }

class AccessDate : public testing::TestWithParam<DateCase> {};

TEST_P(AccessDate, IsWrittenAsIsoDateAndTime) { EXPECT_EQ(DateTimeText(GetParam().accessDate), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Cases, AccessDate, testing::Values(
  DateCase{0, "1899-12-30"},
  DateCase{2, "1900-01-01"},
  DateCase{45000.5, "2023-03-15 12:00:00"},
  DateCase{36526.999988426, "2000-01-01 23:59:59"},
  DateCase{36526.999999, "2000-01-02"},       // rounds to the next midnight
  DateCase{-1.25, "1899-12-29 06:00:00"},     // before 1899-12-30 the time still counts forward
  DateCase{-657434, "0100-01-01"},
  DateCase{2958465.5, "9999-12-31 12:00:00"},
  DateCase{1e12, "1e+12"}));                  // no date at all: the number

struct NumberCase {
  double value;
  const char *text;
};

void PrintTo(const NumberCase &c, std::ostream *out) { *out << c.text; }

class FloatingPoint : public testing::TestWithParam<NumberCase> {};

TEST_P(FloatingPoint, IsTheShortestDecimalThatReadsBack) { EXPECT_EQ(FloatText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Cases, FloatingPoint, testing::Values(
  NumberCase{3.5, "3.5"}, NumberCase{-0.1, "-0.1"}, NumberCase{100, "100"},
  NumberCase{1e20, "1e+20"}, NumberCase{0.1 + 0.2, "0.30000000000000004"}));

TEST(FieldText, ASingleIsWrittenWithItsOwnPrecision) { EXPECT_EQ(FloatText(0.1f), "0.1"); }

TEST(FieldText, BytesAreUpperCaseHexadecimal) {
  const unsigned char bytes[] = {0x00, 0x7F, 0xAB, 0xFF};
  EXPECT_EQ(HexText(bytes, sizeof bytes), "007FABFF");
  EXPECT_EQ(HexText(bytes, 0), "");
}

// On a German desktop the C library's number formatting uses a decimal comma;
// the texts must not follow it. The German locale is compiled for this test
// alone, so it runs whatever the machine has installed.
TEST(FieldText, DoesNotFollowTheLocalesDecimalComma) {
  TempDir locales;
  const std::string compile = "localedef -i de_DE -f UTF-8 '" + (locales.path() / "de_DE.UTF-8").string() + "'";
  ASSERT_EQ(std::system(compile.c_str()), 0) << compile;
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  setenv("LOCPATH", locales.path().c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");

  EXPECT_EQ(FloatText(3.5), "3.5");
  EXPECT_EQ(DateTimeText(45000.5), "2023-03-15 12:00:00");
  std::setlocale(LC_ALL, previous.c_str());
  unsetenv("LOCPATH");
}
