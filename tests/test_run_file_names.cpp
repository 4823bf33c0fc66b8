#include "app/RunFileNames.h"

#include <gtest/gtest.h>

namespace {

// The suffixes the titles get, each written once its suffix is known.
std::vector<AnsiString> SuffixesFor(const std::vector<AnsiString> &fileTitles) {
  TRunFileNames names;
  std::vector<AnsiString> suffixes;
  for (const AnsiString &title : fileTitles) {
    suffixes.push_back(names.FreeSuffix(title));
    names.Add(title, suffixes.back());
  }
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
  TRunFileNames names;
  names.Add("Lied", "");
  names.Add("Lied", " (2)");
  EXPECT_EQ(names.FreeSuffix("Lied"), " (3)");
}

TEST(RunFileNames, TitlesThatTheLengthLimitMakesEqualCollide) {
  const AnsiString start(300, 'A');
  EXPECT_EQ(SuffixesFor({start + "x", start + "y"}), (std::vector<AnsiString>{"", " (2)"}));
}
