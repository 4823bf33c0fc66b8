#include "app/RunFileNames.h"

#include <gtest/gtest.h>

namespace {

// The suffixes the titles get, one after the other.
std::vector<AnsiString> SuffixesFor(const std::vector<AnsiString> &fileTitles) {
  TRunFileNames names;
  std::vector<AnsiString> suffixes;
  for (const AnsiString &title : fileTitles)
    suffixes.push_back(names.Claim(title));
  return suffixes;
}

} // namespace

TEST(RunFileNames, ATakenNameGetsTheSmallestFreeNumberFromTwo) {
  EXPECT_EQ(SuffixesFor({"Lobe den Herren", "Lobe den Herren", "Stille Nacht", "Lobe den Herren"}),
            (std::vector<AnsiString>{"", " (2)", "", " (3)"}));
}

TEST(RunFileNames, LetterCaseDoesNotMakeANameFreeAsOnWindows) {
  EXPECT_EQ(SuffixesFor({"Lobe den Herren", "LOBE DEN HERREN", "lobe den herren"}),
            (std::vector<AnsiString>{"", " (2)", " (3)"}));
  EXPECT_EQ(SuffixesFor({"\xDC" "ber allen", "\xFC" "BER ALLEN"}), (std::vector<AnsiString>{"", " (2)"}));
  EXPECT_EQ(SuffixesFor({"Stra\xDF" "e", "STRASSE"}), (std::vector<AnsiString>{"", ""})); // ß has no capital
}

TEST(RunFileNames, ANumberedNameThatIsTakenIsPassedOver) {
  // Cut to make room for " (2)", both titles give the same numbered name.
  const AnsiString start(236, 'A');
  EXPECT_EQ(SuffixesFor({start + "B", start + "B", start + "C", start + "C"}),
            (std::vector<AnsiString>{"", " (2)", "", " (3)"}));
}

TEST(RunFileNames, TitlesThatTheLengthLimitMakesEqualCollide) {
  const AnsiString start(300, 'A');
  EXPECT_EQ(SuffixesFor({start + "x", start + "y"}), (std::vector<AnsiString>{"", " (2)"}));
}

// Enough names to fill several of the set's blocks and make its table grow.
TEST(RunFileNames, ManyNamesStayApartAndTaken) {
  TRunFileNames names;
  constexpr int kCount = 30000;
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < kCount; ++i)
      ASSERT_EQ(names.Claim("Lied " + std::to_string(i) + " \xFC" "ber Gnade"), round == 0 ? "" : " (2)") << i;
  EXPECT_EQ(names.Claim("LIED 7 \xDC" "BER GNADE"), " (3)");
}
