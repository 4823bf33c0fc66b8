#include "song/CreateSngUnit.h"

#include <gtest/gtest.h>

#include "song/SongFileErrors.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;
using Lines = std::vector<AnsiString>;

TEST(SongDocument, WritesTheImportRunsExampleByteForByte) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle("Example Song");
  song.SetAuthor("Example Author");
  song.SetKey("G-Dur");
  song.SetText("[Verse 1]\r\nFirst line of the first verse\r\nSecond line of the first verse\r\n"
               "\r\n[Chorus]\r\nFirst line of the chorus\r\n");
  song.SetEditor("Tabulift 1.0");
  song.CleanUpText();
  const fs::path written = song.SaveToDirectory(dir.path());

  EXPECT_EQ(written, dir.path() / "Example Song.sng");
  EXPECT_EQ(ReadBytes(written), "#Title=Example Song\r\n#Author=Example Author\r\n#Key=G\r\n"
                                "#Editor=Tabulift 1.0\r\n---\r\nFirst line of the first verse\r\n"
                                "Second line of the first verse\r\n\r\n---\r\nFirst line of the chorus\r\n");
}

struct TextCase {
  const char *name;
  std::string text;
  Lines lines;
};

class WholeTextAssignment : public testing::TestWithParam<TextCase> {};

TEST_P(WholeTextAssignment, SplitsIntoLines) {
  TSimpleSNG song;
  song.Lines() = {"old"};
  song.SetText(GetParam().text);
  EXPECT_EQ(song.Lines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, WholeTextAssignment, testing::Values(
  TextCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
  TextCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
  TextCase{"LoneCrAndLf", "a\rb\nc", {"a", "b", "c"}},
  TextCase{"NulEndsTheText", std::string("a\0b", 3), {"a"}},
  TextCase{"Empty", "", {}},
  TextCase{"EmptyLinesInside", "\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
  TextCase{"NoBreakAtTheEnd", "a\r\nb", {"a", "b"}},
  TextCase{"BreaksOfEveryKindInTurn", "a\rb\r\nc\nd\r\n\ne\r", {"a", "b", "c", "d", "", "e"}},
  TextCase{"LoneCrAtTheEnd", "\r", {""}}),
  [](const auto &info) { return info.param.name; });

TEST(SongDocument, SetValueReplacesInPlaceAndDeletesOnEmpty) {
  TSimpleSNG song;
  song.SetTitle("A");
  song.SetAuthor("W");
  song.SetValue("#title", "B");
  EXPECT_EQ(song.Header(), (Lines{"#title=B", "#Author=W"}));

  song.SetValue("#TITLE", "");
  EXPECT_EQ(song.Header(), (Lines{"#Author=W"}));
  song.SetValue("#Title", ""); // nothing to delete
  EXPECT_EQ(song.Header(), (Lines{"#Author=W"}));
}

TEST(SongDocument, GetValueTakesEverythingAfterTheFirstEquals) {
  TSimpleSNG song;
  song.SetValue("#Title", "a=b");
  song.SetValue("#Other", "x");
  EXPECT_EQ(song.GetValue("#title"), "a=b");
  EXPECT_EQ(song.GetValue("#Missing"), "");
}

// A line break in a value would break the header, and a value line "---" would
// end it early: each break becomes one blank.
TEST(SongDocument, HeaderValuesNeverSpanLines) {
  TSimpleSNG song;
  song.SetTitle("One\r\nTwo\rThree\nFour");
  song.SetAuthor("x\n---\ny");
  EXPECT_EQ(song.Header(), (Lines{"#Title=One Two Three Four", "#Author=x --- y"}));
}

TEST(SongDocument, TitelMovesToTitleAtTheEndOfTheHeader) {
  TSimpleSNG song;
  song.SetValue("#Titel", "Alt");
  song.SetAuthor("W");
  EXPECT_EQ(song.GetTitle(), "Alt");
  EXPECT_EQ(song.Header(), (Lines{"#Author=W", "#Title=Alt"}));
}

TEST(SongDocument, TitleWinsOverTitel) {
  TSimpleSNG song;
  song.SetValue("#Titel", "Alt");
  song.SetTitle("Neu");
  EXPECT_EQ(song.GetTitle(), "Neu");
  EXPECT_EQ(song.Header(), (Lines{"#Titel=Alt", "#Title=Neu"}));
}

struct NameCase {
  const char *name;
  std::string title;
  Lines lines;
  std::string fileName; // UTF-8, as the file system shows it
};

class SongFileNames : public testing::TestWithParam<NameCase> {};

TEST_P(SongFileNames, FollowTheTitle) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle(GetParam().title);
  song.Lines() = GetParam().lines;
  EXPECT_EQ(song.SaveToDirectory(dir.path()), dir.path() / GetParam().fileName);
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{GetParam().fileName});
}

INSTANTIATE_TEST_SUITE_P(Cases, SongFileNames, testing::Values(
  NameCase{"Umlauts", "Fr\xF6hlich, gro\xDF & s\xFC\xDF!", {"x"}, "Fröhlich groß  süß.sng"},
  NameCase{"AccentsGo", "Caf\xE9 (live)", {"x"}, "Caf live.sng"},
  NameCase{"Slashes", "A/B: C", {"x"}, "AB C.sng"},
  NameCase{"BlanksStay", "  Lead me  ", {"x"}, "  Lead me  .sng"},
  NameCase{"MiddleDotGoes", "A\xB7" "B", {"x"}, "AB.sng"},
  NameCase{"GrosserGott", "Gro\xDF" "er Gott", {"x"}, "Großer Gott.sng"},
  NameCase{"DotsCannotClimb", "../../etc/passwd", {"x"}, "etcpasswd.sng"},
  NameCase{"BackslashesCannotClimb", "..\\..\\Windows\\win.ini", {"x"}, "Windowswinini.sng"},
  NameCase{"ControlCharactersAndNulGo", std::string("Psalm\0\x01\t23\x1F\x7F\r\n", 12), {"x"}, "Psalm23.sng"},
  NameCase{"DeviceNamesAreOrdinaryNamesHere", "CON", {"x"}, "CON.sng"},
  NameCase{"NoTitleTakesTheFirstLine", "", {"Morning light, come in", "b"}, "Morning light come in.sng"},
  // a name of dropped characters only would be the hidden file ".sng"
  NameCase{"DroppedTitleTakesTheFirstLine", "???", {"Erste Zeile!"}, "Erste Zeile.sng"},
  NameCase{"NothingLeftIsUnbenannt", "???", {"..."}, "Unbenannt.sng"}),
  [](const auto &info) { return info.param.name; });

TEST(SongDocument, ATenMegabyteTextConverts) {
  TempDir dir;
  std::string text, expected = "#Title=Lang\r\n---\r\n";
  for (int verse = 0; verse < 10000; ++verse) {
    text += "[Strophe]\r\n";
    if (verse > 0) // the first heading would follow the header's own "---"
      expected += "---\r\n";
    for (int line = 0; line < 10; ++line) {
      const std::string content = std::to_string(verse) + std::string(96, 'a' + line);
      text += " " + content + "\r\n";
      expected += content + "\r\n";
    }
  }
  ASSERT_GT(text.size(), 10'000'000u);
  TSimpleSNG song;
  song.SetTitle("Lang");
  song.SetText(text);
  song.CleanUpText();
  EXPECT_EQ(ReadBytes(song.SaveToDirectory(dir.path())), expected);
}

TEST(SongDocument, NoTitleMeansNoTitleLineInTheFile) {
  TempDir dir;
  TSimpleSNG song;
  song.Lines() = {"Morning light, come in"};
  EXPECT_EQ(ReadBytes(song.SaveToDirectory(dir.path())), "---\r\nMorning light, come in\r\n");
}

TEST(SongDocument, LongNamesAreCutAtACharacterBoundary) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle(std::string(239, 'a') + "\xFC\xFC"); // ü is two bytes on the file system
  song.Lines() = {"x"};
  const fs::path written = song.SaveToDirectory(dir.path(), " (2)");
  EXPECT_EQ(written.filename(), std::string(236, 'a') + " (2).sng");

  song.SetTitle(std::string(10000, 'b'));
  EXPECT_EQ(song.SaveToDirectory(dir.path()).filename(), std::string(240, 'b') + ".sng");
}

TEST(SongDocument, WithoutTextNoFileButTheDirectoryIsMade) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle("Nur Titel");
  const fs::path target = dir.path() / "a" / "b";
  EXPECT_EQ(song.SaveToDirectory(target), fs::path());
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_TRUE(FileNames(target).empty());
}

TEST(SongDocument, WithTextTheMissingDirectoryIsMadeForTheFile) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle("Lied");
  song.Lines() = {"x"};
  const fs::path target = dir.path() / "a" / "b";
  EXPECT_EQ(ReadBytes(song.SaveToDirectory(target)), "#Title=Lied\r\n---\r\nx\r\n");
  EXPECT_EQ(FileNames(target), std::vector<std::string>{"Lied.sng"});
}

TEST(SongDocument, TitelFallbackNamesTheFileAndMovesTheEntry) {
  TempDir dir;
  TSimpleSNG song;
  song.SetValue("#Titel", "Alt");
  song.SetAuthor("W");
  song.Lines() = {"x"};
  EXPECT_EQ(ReadBytes(song.SaveToDirectory(dir.path())), "#Author=W\r\n#Title=Alt\r\n---\r\nx\r\n");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"Alt.sng"});
}

TEST(SongDocument, SavingOverAFileReplacesItsWholeContent) {
  TempDir dir;
  const fs::path file = dir.path() / "Song.sng";
  std::ofstream(file) << std::string(1000, 'x');
  TSimpleSNG song;
  song.Lines() = {"short"};
  song.SaveToFile(file);
  EXPECT_EQ(ReadBytes(file), "---\r\nshort\r\n");
}

TEST(SongDocument, EmptyDocumentWritesTheSeparatorOnly) {
  TempDir dir;
  TSimpleSNG song;
  song.SaveToFile(dir.path() / "x.sng");
  EXPECT_EQ(ReadBytes(dir.path() / "x.sng"), "---\r\n");
}

TEST(SongDocument, BytesReachTheFileUnconverted) {
  TempDir dir;
  TSimpleSNG song;
  song.SetTitle("Preis \x96 Dank \x80");
  song.Lines() = {"\x84" "Ehre\x93 \x85 Caf\xE9", ""};
  song.SaveToFile(dir.path() / "x.sng");
  EXPECT_EQ(ReadBytes(dir.path() / "x.sng"), "#Title=Preis \x96 Dank \x80\r\n---\r\n\x84" "Ehre\x93 \x85 Caf\xE9\r\n\r\n");
}

TEST(SongDocument, AMissingDirectoryFailsWithTheCreateError) {
  TempDir dir;
  std::ofstream(dir.path() / "file") << "in the way";
  TSimpleSNG song;
  song.Lines() = {"x"};
  const fs::path target = dir.path() / "file" / "sub";
  try {
    song.SaveToDirectory(target);
    FAIL() << "no error";
  } catch (const EFCreateError &error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + (target / "x.sng").string() + "\". Not a directory");
  }
}

// Runs compare names by SongFileStem: it must be the name SongFileName gives,
// whether or not the title is long enough to be cut (ü is two bytes there).
class SongFileStems : public testing::TestWithParam<std::size_t> {};

TEST_P(SongFileStems, AreTheFileNamesInWindows1252) {
  const AnsiString title(GetParam(), '\xFC');
  for (const std::string_view suffix : {"", " (2)"}) {
    const std::string name = SongFileName(title, suffix).string();
    EXPECT_EQ(SongFileStem(title, suffix), Utf8ToAnsi(name.substr(0, name.size() - 4))) << suffix;
  }
}

INSTANTIATE_TEST_SUITE_P(TitleLengths, SongFileStems, testing::Values(1, 76, 77, 80, 81, 118, 120, 121, 300));
