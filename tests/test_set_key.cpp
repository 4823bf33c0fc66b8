#include "song/CreateSngUnit.h"

#include <gtest/gtest.h>

struct KeyCase {
  const char *argument;
  const char *stored; // "" for no "#Key" entry
};

class SetKey : public testing::TestWithParam<KeyCase> {};

TEST_P(SetKey, StoresTheShortEnglishForm) {
  TSimpleSNG song;
  song.SetValue("#Key", "old");
  song.SetKey(GetParam().argument);
  EXPECT_EQ(song.GetValue("#Key"), GetParam().stored);
  EXPECT_EQ(song.Header().size(), *GetParam().stored ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(GermanAndEnglish, SetKey, testing::Values(
  KeyCase{"C-Dur", "C"}, KeyCase{"c-moll", "Cm"}, KeyCase{"a-moll", "Am"},
  KeyCase{"Fis-Dur", "F#"}, KeyCase{"fis-moll", "F#m"}, KeyCase{"Fis", "F#"}, KeyCase{"fis", "F#m"},
  KeyCase{"Es-Dur", "Eb"}, KeyCase{"es-moll", "Ebm"}, KeyCase{"Es", "Eb"},
  KeyCase{"Des-Dur", "Db"}, KeyCase{"Ges-Dur", "Gb"}, KeyCase{"cis", "C#m"},
  KeyCase{"H-Dur", "B"}, KeyCase{"h-moll", "Bm"}, KeyCase{"h", "Bm"},
  KeyCase{"C", "C"}, KeyCase{"c", "Cm"}, KeyCase{"E", "E"}, KeyCase{"e", "Em"},
  KeyCase{"Am", "Am"}, KeyCase{"AM", "Am"}, KeyCase{"F#", "F#"}, KeyCase{"F#m", "F#m"},
  KeyCase{"Bb", "Bb"}, KeyCase{"Bbm", "Bbm"}, KeyCase{"Cm#", "C#m"}, KeyCase{"B", "B"},
  KeyCase{"E moll", "Em"}, KeyCase{"G dur", "G"}, KeyCase{"D7", "D"},
  KeyCase{"", ""}, KeyCase{" C-Dur", ""}));

// Keys that the plain reading got wrong: German As and B are flats, "maj" is not
// minor, English mode words count, and a second key after "/" does not.
INSTANTIATE_TEST_SUITE_P(Mended, SetKey, testing::Values(
  KeyCase{"As-Dur", "Ab"}, KeyCase{"as-moll", "Abm"},
  KeyCase{"B-Dur", "Bb"}, KeyCase{"b-moll", "Bbm"},
  KeyCase{"Cmaj", "C"}, KeyCase{"Cmaj7", "C"}, KeyCase{"CMAJ7", "C"}, KeyCase{"F#maj7", "F#"},
  KeyCase{"A minor", "Am"}, KeyCase{"A major", "A"}, KeyCase{"B major", "B"},
  KeyCase{"A-Dur/fis-moll", "A"}, KeyCase{"E-Dur/cis-moll", "E"},
  // no root letter left: nothing, not an accidental alone
  KeyCase{" Fis", ""}));
