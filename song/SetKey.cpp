#include "song/CreateSngUnit.h"

#include "util/DUtil.h"

namespace {

enum class Mode { Undecided, Major, Minor };

struct WordTests {
  Mode mode = Mode::Undecided;
  std::string accidental;
  bool germanModeWord = false; // "dur" or "moll": B then means B flat
};

bool Contains(const AnsiString &upperText, std::string_view upperWord) {
  return upperText.find(upperWord) != AnsiString::npos;
}

// The words of a key, looked for anywhere and in any letter case. Only the part
// before a "/" counts: "A-Dur/fis-moll" is A major, not a mix of both.
WordTests ReadWords(std::string_view key) {
  const AnsiString upper = AnsiUpperCase(key.substr(0, key.find('/')));
  WordTests words;
  const bool dur = Contains(upper, "DUR");
  const bool moll = Contains(upper, "MOLL");
  words.germanModeWord = dur || moll;
  if (dur || Contains(upper, "MAJOR"))
    words.mode = Mode::Major;
  if (moll || Contains(upper, "MINOR"))
    words.mode = Mode::Minor;
  if (Contains(upper, "IS"))
    words.accidental = "#";
  if (Contains(upper, "ES"))
    words.accidental = "b";
  return words;
}

std::string_view CharAt(const std::string &s, std::size_t i) {
  return i < s.size() ? std::string_view(s).substr(i, 1) : std::string_view();
}

// An "m" at place `at` means minor, unless it starts "maj".
void ReadModeLetter(const std::string &root, std::size_t at, WordTests &key) {
  const std::string_view letter = CharAt(root, at);
  if ((letter != "m" && letter != "M") || key.mode != Mode::Undecided)
    return;
  const bool maj = AnsiUpperCase(std::string_view(root).substr(at + 1, 2)) == "AJ";
  key.mode = maj ? Mode::Major : Mode::Minor;
}

void ReadAccidental(const std::string &root, std::size_t at, WordTests &key) {
  const std::string_view sign = CharAt(root, at);
  if (sign == "#" || sign == "b")
    key.accidental = sign;
}

// Reads a key in German or English notation ("fis-moll", "Es", "Bb", "F#m") and
// gives the short English form: root, "#" or "b", and "m" for minor.
AnsiString NormaliseKey(std::string_view text) {
  WordTests key = ReadWords(text);

  std::string root(text);
  root = FetchToken(root, '-');
  root = FetchToken(root, ' ');
  if (root.empty())
    return {};

  ReadAccidental(root, 1, key);
  ReadModeLetter(root, 1, key);
  ReadAccidental(root, 2, key);
  ReadModeLetter(root, 2, key);

  const char first = root[0];
  if ((first == 'A' || first == 'a') && CharAt(root, 1) == "s")
    key.accidental = "b"; // German As is A flat
  if ((first == 'B' || first == 'b') && key.accidental.empty() && key.germanModeWord)
    key.accidental = "b"; // German B is B flat; a bare "B" stays, it could be English

  if (key.mode == Mode::Undecided)
    key.mode = AnsiUpperChar(first) == first ? Mode::Major : Mode::Minor;

  AnsiString normalised(1, AnsiUpperChar(first));
  if (normalised == "H")
    normalised = "B";
  normalised += key.accidental;
  if (key.mode == Mode::Minor)
    normalised += 'm';
  return normalised;
}

} // namespace

void TSimpleSNG::SetKey(std::string_view key) { SetValue("#Key", NormaliseKey(key)); }
