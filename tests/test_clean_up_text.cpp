#include "song/CreateSngUnit.h"

#include <gtest/gtest.h>

using Lines = std::vector<AnsiString>;

struct CleanUpCase {
  const char *name;
  Lines before;
  Lines after;
};

class CleanUpText : public testing::TestWithParam<CleanUpCase> {};

TEST_P(CleanUpText, Cleans) {
  TSimpleSNG song;
  song.Lines() = GetParam().before;
  song.CleanUpText();
  EXPECT_EQ(song.Lines(), GetParam().after);
  EXPECT_TRUE(song.Header().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, CleanUpText, testing::Values(
  CleanUpCase{"Empty", {}, {}},
  CleanUpCase{"OnlyBlankLines", {"", "   ", "\t\t"}, {}},
  CleanUpCase{"BlankLinesAtBothEnds", {"", " ", "a", "", "b", "\t", ""}, {"a", "", "b"}},
  CleanUpCase{"TrimsControlBytesAndBlanks", {"\t a \r", std::string("b\0", 2)}, {"a", "b"}},
  CleanUpCase{"KeepsDelNoBreakSpaceAndInnerTabs", {"\x7F" "a\xA0", "\xA0\xA0", "a\tb"},
              {"\x7F" "a\xA0", "\xA0\xA0", "a\tb"}},
  CleanUpCase{"HeadingsBecomeSeparators", {"Line a", "[x]", "[ ]", "  [Chorus]  ", "\t[Chorus]"},
              {"Line a", "---", "---", "---", "---"}},
  CleanUpCase{"NotHeadings", {"Line a", "[]", "[x", "x]", "[Chorus] 2x"},
              {"Line a", "[]", "[x", "x]", "[Chorus] 2x"}},
  CleanUpCase{"Verses", {"[Verse 1]", "Line a", "", "[Chorus]", "Line b"}, {"Line a", "", "---", "Line b"}},
  CleanUpCase{"OnlyOneLeadingSeparatorGoes", {"[Intro]", "[Verse 1]", "Line a"}, {"---", "Line a"}},
  CleanUpCase{"BlankAfterLeadingHeadingStays", {"[Verse 1]", "", "Line a"}, {"", "Line a"}},
  CleanUpCase{"LeadingDashesGo", {" --- ", "a", "---"}, {"a", "---"}},
  CleanUpCase{"TrailingHeadingStays", {"Line a", "[Outro]"}, {"Line a", "---"}}),
  [](const auto &info) { return info.param.name; });
