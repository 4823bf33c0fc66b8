#include "util/Ansi.h"

#include <gtest/gtest.h>

struct AnsiCase {
  const char *utf8;
  const char *ansi;
};

class AnsiConversion : public testing::TestWithParam<AnsiCase> {};

TEST_P(AnsiConversion, Utf8ToAnsi) { EXPECT_EQ(Utf8ToAnsi(GetParam().utf8), GetParam().ansi); }

INSTANTIATE_TEST_SUITE_P(Cases, AnsiConversion, testing::Values(
  AnsiCase{"", ""},
  AnsiCase{"Plain ASCII, tab\t and DEL\x7F", "Plain ASCII, tab\t and DEL\x7F"},
  AnsiCase{"Großer Gott", "Gro\xDF" "er Gott"},
  AnsiCase{"€ – „Ehre“ …", "\x80 \x96 \x84" "Ehre\x93 \x85"},
  AnsiCase{"Café", "Caf\xE9"},
  // characters Windows-1252 lacks, from two, three and four UTF-8 bytes
  AnsiCase{"Ω ł ź 中 😀", "? ? ? ? ?"},
  // malformed UTF-8 costs one "?" per broken byte and nothing around it
  AnsiCase{"a\xFF" "b", "a?b"},
  // the five bytes Windows-1252 leaves undefined travel as C1 controls
  AnsiCase{"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"}));

TEST(Ansi, EveryByteSurvivesTheRoundTripThroughUtf8AndUtf16) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
}

TEST(Ansi, PlainAsciiTakesTheSameWayBackFromEveryEncoding) {
  const std::string ascii = "Lobe den Herren [Refrain] #Key=G\r\n";
  EXPECT_EQ(AnsiToUtf8(ascii), ascii);
  EXPECT_EQ(AnsiToUtf16(ascii), u"Lobe den Herren [Refrain] #Key=G\r\n");
  EXPECT_EQ(Utf16ToAnsi(u"Lobe den Herren [Refrain] #Key=G\r\n"), ascii);
}

TEST(Ansi, MapsTheC1RangeAsWindowsDoes) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "€");
  EXPECT_EQ(AnsiToUtf8("\x96"), "–");
  EXPECT_EQ(AnsiToUtf16("\x9F"), u"Ÿ");
  EXPECT_EQ(Utf16ToAnsi(u"Ω"), "?");
  EXPECT_EQ(Utf16ToAnsi(u"a\xD83D\xDE00" "b"), "a?b"); // a surrogate pair is one character
}

TEST(Ansi, UpperCasesLettersWithDiacriticsButNotSharpS) {
  EXPECT_EQ(AnsiUpperCase("\xFC" "ber \xE9\xDF\xFF\x9A" "az"), "\xDC" "BER \xC9\xDF\x9F\x8A" "AZ");
  EXPECT_EQ(AnsiUpperCase("\xF7"), "\xF7"); // the division sign has no case
  EXPECT_TRUE(AnsiSameText("#title", "#Title"));
  EXPECT_TRUE(AnsiSameText("\xFC" "BER", "\xDC" "ber"));
  EXPECT_FALSE(AnsiSameText("Title", "Titles"));
}
