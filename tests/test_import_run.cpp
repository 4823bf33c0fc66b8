#include "app/ImportRun.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

#include "app/ColumnPresets.h"
#include "platform/ado/ADOConnection.h"
#include "platform/ado/ConnectionString.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

// A table of lieder.mdb, open, and the columns the presets choose for it.
struct Fixture {
  TADOConnection connection;
  TADOTable table;
  TColumnChoices presets;

  explicit Fixture(std::string_view tableName, TCursorType cursor = TCursorType::ctStatic) {
    connection.SetConnectionString(JetConnectionString(fs::path(TABULIFT_FIXTURES) / "lieder.mdb"));
    table.SetConnection(&connection);
    table.SetTableName(tableName);
    table.SetCursorType(cursor);
    table.Open();
    TColumnChoosers choosers;
    choosers.fill(ColumnChooserFor(table.Fields()));
    AutoMapColumns(choosers, table.Fields());
    presets = ChosenColumns(choosers);
  }
};

std::string ErrorOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const std::exception &error) {
    return error.what();
  }
  return "(no error)";
}

// The files of the Lieder table with the presets: rows 6 and 7 have no song
// text, row 9 repeats the title of row 2, row 8 has no title, row 12's title
// is all punctuation.
const Names kLiederFiles = {
    "Ein feste Burg ist unser Gott.sng", "Gro\xC3\x9F" "er Gott wir loben dich.sng",
    "Langer Text.sng", "Lobe den Herren (2).sng", "Lobe den Herren.sng",
    "Nun danket alle Gott.sng", "Nur Fragezeichen im Titel.sng", "Preis  Dank  Ehre  Caf.sng",
    "Stille Nacht heilige Nacht.sng", "Wir pfl\xC3\xBC" "gen und wir streuen.sng"};

} // namespace

TEST(ImportRun, WritesASongPerRowWithTheirHeadersInOrder) {
  TempDir dir;
  Fixture fixture("Lieder");
  std::vector<std::pair<int, int>> progress;
  const TImportResult result = RunImport(dir.path() / "Lieder", fixture.presets, fixture.table,
                                         [&](int row, int rowCount) { progress.emplace_back(row, rowCount); });

  EXPECT_EQ(FileNames(dir.path() / "Lieder"), kLiederFiles);
  EXPECT_EQ(result.RowsRead, 12);
  EXPECT_EQ(result.FilesWritten, 10);
  EXPECT_EQ(result.RowsWithoutText, 2);
  EXPECT_EQ(result.FilesRenamed, 1);
  ASSERT_EQ(progress.size(), 12u);
  EXPECT_EQ(progress.front(), std::make_pair(1, 12));
  EXPECT_EQ(progress.back(), std::make_pair(12, 12));
  EXPECT_TRUE(fixture.table.Eof());

  const fs::path songs = dir.path() / "Lieder";
  EXPECT_EQ(ReadBytes(songs / "Gro\xC3\x9F" "er Gott wir loben dich.sng"),
            "#Title=Gro\xDF" "er Gott, wir loben dich\r\n#Author=Ignaz Franz\r\n#Melody=Wien 1776\r\n"
            "#(c)=gemeinfrei\r\n#Keywords=Lob; Anbetung\r\n#Key=F\r\n#Bible=Psalm 145\r\n#SongBook=EG 331\r\n"
            "#QuickFind=1\r\n#Editor=Tabulift 1.0\r\n---\r\n"
            "Gro\xDF" "er Gott, wir loben dich;\r\nHerr, wir preisen deine St\xE4rke.\r\n"
            "Vor dir neigt die Erde sich\r\nund bewundert deine Werke.\r\n\r\n---\r\n"
            "Alles, was dich preisen kann,\r\nCherubim und Seraphinen,\r\nstimmen dir ein Loblied an;\r\n"
            "alle Engel, die dir dienen,\r\n");
  EXPECT_EQ(ReadBytes(songs / "Lobe den Herren.sng"),
            "#Title=Lobe den Herren\r\n#OTitle=Lobe den Herren, den m\xE4" "chtigen K\xF6nig der Ehren\r\n"
            "#Author=Joachim Neander\r\n#Melody=Stralsund 1665\r\n#Keywords=Lob\r\n#Key=G\r\n#Bible=Psalm 103\r\n"
            "#SongBook=EG 317\r\n#CCLI=12345\r\n#QuickFind=2\r\n#Editor=Tabulift 1.0\r\n---\r\n"
            "Lobe den Herren, den m\xE4" "chtigen K\xF6nig der Ehren,\r\n"
            "lob ihn, o Seele, vereint mit den himmlischen Ch\xF6ren.\r\n\r\n---\r\n"
            "Kommet zuhauf,\r\nPsalter und Harfe, wacht auf,\r\nlasset den Lobgesang h\xF6ren!\r\n");
  EXPECT_EQ(ReadBytes(songs / "Lobe den Herren (2).sng"),
            "#Title=Lobe den Herren\r\n#Author=Joachim Neander\r\n#Key=Bb\r\n#SongBook=Zweite Fassung\r\n"
            "#QuickFind=9\r\n#Editor=Tabulift 1.0\r\n---\r\nZweite Fassung desselben Titels\r\nLobe den Herren\r\n");
  EXPECT_EQ(ReadBytes(songs / "Wir pfl\xC3\xBC" "gen und wir streuen.sng"),
            "#Author=Matthias Claudius\r\n#Keywords=Ernte\r\n#Key=Bm\r\n#QuickFind=8\r\n#Editor=Tabulift 1.0\r\n"
            "---\r\nWir pfl\xFCgen und wir streuen\r\nden Samen auf das Land\r\n");
  EXPECT_EQ(ReadBytes(songs / "Preis  Dank  Ehre  Caf.sng"),
            "#Title=Preis \x96 Dank \x80 \x84" "Ehre\x93 \x85 Caf\xE9\r\n#Author=Zeichen-Test\r\n"
            "#(c)=\xA9 2001 Beispiel\r\n#Key=A\r\n#Bible=Offb. 5,12\r\n#QuickFind=10\r\n#Editor=Tabulift 1.0\r\n---\r\n"
            "Preis \x96 Dank \x80 \x84" "Ehre\x93 \x85 Caf\xE9\r\nNicht im Zeichensatz: ? ?\xF3" "d? ??\r\n");
}

TEST(ImportRun, ReadsTheSameFilesForwardOnly) {
  TempDir dir;
  Fixture fixture("Lieder", TCursorType::ctOpenForwardOnly);
  const TImportResult result = RunImport(dir.path(), fixture.presets, fixture.table);
  EXPECT_EQ(FileNames(dir.path()), kLiederFiles);
  EXPECT_EQ(result.FilesRenamed, 1);
  EXPECT_TRUE(ReadBytes(dir.path() / "Langer Text.sng").ends_with("\r\nENDE DES LANGEN TEXTES\r\n"));
}

TEST(ImportRun, ASecondRunReplacesTheFilesOfTheFirstUnderTheSameNames) {
  TempDir dir;
  Fixture fixture("Lieder");
  RunImport(dir.path(), fixture.presets, fixture.table);
  const std::string first = ReadBytes(dir.path() / "Lobe den Herren (2).sng");
  std::ofstream(dir.path() / "Lobe den Herren.sng", std::ios::binary) << "old";

  const TImportResult second = RunImport(dir.path(), fixture.presets, fixture.table);
  EXPECT_EQ(FileNames(dir.path()), kLiederFiles);
  EXPECT_EQ(second.FilesWritten, 10);
  EXPECT_EQ(second.FilesRenamed, 1);
  EXPECT_EQ(ReadBytes(dir.path() / "Lobe den Herren (2).sng"), first);
  EXPECT_TRUE(ReadBytes(dir.path() / "Lobe den Herren.sng").starts_with("#Title=Lobe den Herren\r\n"));
}

TEST(ImportRun, AnEmptyTargetDirectoryDoesNothing) {
  Fixture fixture("Lieder", TCursorType::ctOpenForwardOnly);
  int calls = 0;
  const TImportResult result = RunImport({}, fixture.presets, fixture.table, [&](int, int) { ++calls; });
  EXPECT_EQ(result.RowsRead, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(fixture.table.AsString(0), "1"); // not a row read
}

TEST(ImportRun, ATableWithoutRowsMakesTheDirectoryOnly) {
  TempDir dir;
  Fixture fixture("Leer");
  const TImportResult result = RunImport(dir.path() / "a" / "b", fixture.presets, fixture.table);
  EXPECT_TRUE(fs::is_directory(dir.path() / "a" / "b"));
  EXPECT_TRUE(FileNames(dir.path() / "a" / "b").empty());
  EXPECT_EQ(result.RowsRead, 0);
}

TEST(ImportRun, WithoutTheSongTextNoRowGivesAFile) {
  TempDir dir;
  Fixture fixture("Lieder");
  fixture.presets[sfText].clear();
  const TImportResult result = RunImport(dir.path(), fixture.presets, fixture.table);
  EXPECT_TRUE(FileNames(dir.path()).empty());
  EXPECT_EQ(result.RowsRead, 12);
  EXPECT_EQ(result.RowsWithoutText, 12);
}

TEST(ImportRun, OnlyTheSongTextGivesTheEditorAndFilesNamedByTheirFirstLine) {
  TempDir dir;
  Fixture fixture("Lieder");
  TColumnChoices onlyText;
  onlyText[sfText] = "Liedtext";
  RunImport(dir.path(), onlyText, fixture.table);
  EXPECT_EQ(ReadBytes(dir.path() / "Nun danket alle Gott.sng"),
            "#Editor=Tabulift 1.0\r\n---\r\nNun danket alle Gott\r\nmit Herzen, Mund und H\xE4nden,\r\n"
            "der gro\xDF" "e Dinge tut\r\nan uns und allen Enden\r\n");
}

TEST(ImportRun, SeveralFieldsCanShowOneColumn) {
  TempDir dir;
  Fixture fixture("Lieder");
  TColumnChoices columns;
  columns[sfText] = "liedtext"; // letter case does not matter
  columns[sfTitle] = columns[sfQuickFind] = columns[sfKeywords] = "Titel";
  RunImport(dir.path(), columns, fixture.table);
  EXPECT_TRUE(ReadBytes(dir.path() / "Langer Text.sng")
                  .starts_with("#Title=Langer Text\r\n#Keywords=Langer Text\r\n#QuickFind=Langer Text\r\n"
                               "#Editor=Tabulift 1.0\r\n---\r\n"));
}

TEST(ImportRun, AnUnknownColumnFailsBeforeTheFirstRow) {
  TempDir dir;
  Fixture fixture("Lieder");
  fixture.presets[sfBible] = "Bibel";
  int calls = 0;
  EXPECT_EQ(ErrorOf([&] { RunImport(dir.path() / "out", fixture.presets, fixture.table, [&](int, int) { ++calls; }); }),
            "ADOTable1: Field 'Bibel' not found");
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(fs::is_directory(dir.path() / "out"));
  EXPECT_TRUE(FileNames(dir.path() / "out").empty());
}

TEST(ImportRun, AClosedTableFailsAtItsFirstRow) {
  TempDir dir;
  Fixture fixture("Lieder");
  fixture.table.Close();
  EXPECT_EQ(ErrorOf([&] { RunImport(dir.path(), TColumnChoices{}, fixture.table); }),
            "ADOTable1: Cannot perform this operation on a closed dataset");
  EXPECT_EQ(ErrorOf([&] { RunImport(dir.path(), fixture.presets, fixture.table); }),
            "ADOTable1: Field 'Liedtext' not found");
}

TEST(ImportRun, AnErrorPartWayKeepsTheFilesWrittenBefore) {
  TempDir dir;
  Fixture fixture("Lieder");
  fs::create_directory(dir.path() / "Stille Nacht heilige Nacht.sng"); // row 5's file cannot be made
  const std::string error = ErrorOf([&] { RunImport(dir.path(), fixture.presets, fixture.table); });
  EXPECT_TRUE(error.starts_with("Cannot create file \"")) << error;
  EXPECT_EQ(FileNames(dir.path()),
            (Names{"Ein feste Burg ist unser Gott.sng", "Gro\xC3\x9F" "er Gott wir loben dich.sng",
                   "Lobe den Herren.sng", "Nun danket alle Gott.sng", "Stille Nacht heilige Nacht.sng"}));
  EXPECT_EQ(fixture.table.AsString(0), "5"); // the table stays at the failing row
}

// Failing disks. The run stops at the row whose file fails, with the file
// error; the files of the rows before are complete, a file that was there
// under the failing name keeps its content, and no temporary file is left.
class FailingDisk : public testing::Test {
protected:
  void SetUp() override { RunImport(clean.path(), fixture.presets, fixture.table); }

  void ExpectStoppedAt(const std::string &failingFile, const Names &filesBefore) {
    Names expected = filesBefore;
    expected.push_back(failingFile);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FileNames(dir.path()), expected);
    for (const std::string &file : filesBefore)
      EXPECT_EQ(ReadBytes(dir.path() / file), ReadBytes(clean.path() / file)) << file;
    EXPECT_EQ(ReadBytes(dir.path() / failingFile), "old content");
  }

  TempDir dir, clean;
  Fixture fixture{"Lieder"};
};

TEST_F(FailingDisk, ATargetDirectoryThatCannotBeMadeFailsAtTheFirstFile) {
  std::ofstream(dir.path() / "blocked") << "a file where the directory should be";
  for (const fs::path &target : {dir.path() / "blocked", dir.path() / "blocked" / "Lieder"}) {
    fixture.table.First();
    EXPECT_EQ(ErrorOf([&] { RunImport(target, fixture.presets, fixture.table); }),
              "Cannot create file \"" + (target / "Gro\xC3\x9F" "er Gott wir loben dich.sng").string() +
                  "\". Not a directory");
  }
  EXPECT_EQ(FileNames(dir.path()), Names{"blocked"});
  EXPECT_EQ(ReadBytes(dir.path() / "blocked"), "a file where the directory should be");
}

// Root may make folders anywhere, so the run goes as an ordinary user, the
// user nobody when the tests run as root. The error tells why the folder is
// missing.
TEST_F(FailingDisk, ATargetDirectoryInAReadOnlyFolderFailsAtTheFirstFileWithTheReason) {
  const fs::path readOnly = dir.path() / "readonly";
  fs::create_directory(readOnly);
  const fs::perms readAndEnter = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(dir.path(), readAndEnter, fs::perm_options::add);
  fs::permissions(readOnly, readAndEnter);
  const fs::path target = readOnly / "Lieder";
  const auto runAsAnOrdinaryUser = [&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
      std::exit(2);
    std::cerr << ErrorOf([&] { RunImport(target, fixture.presets, fixture.table); });
    std::exit(0);
  };
  EXPECT_EXIT(runAsAnOrdinaryUser(), testing::ExitedWithCode(0),
              testing::HasSubstr("Cannot create file \"" +
                                 (target / "Gro\xC3\x9F" "er Gott wir loben dich.sng").string() +
                                 "\". Permission denied"));
  EXPECT_TRUE(fs::is_empty(readOnly));
}

TEST_F(FailingDisk, AReadOnlyFileOfARowsNameStopsTheRun) {
  const std::string failing = "Nun danket alle Gott.sng"; // row 3
  std::ofstream(dir.path() / failing) << "old content";
  fs::permissions(dir.path() / failing, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(ErrorOf([&] { RunImport(dir.path(), fixture.presets, fixture.table); }),
            "Cannot create file \"" + (dir.path() / failing).string() + "\". Permission denied");
  ExpectStoppedAt(failing, {"Gro\xC3\x9F" "er Gott wir loben dich.sng", "Lobe den Herren.sng"});
}

// A process whose files may not grow past 16 KiB meets a full disk at row 11,
// whose 40,000 characters of text make the only larger file.
TEST_F(FailingDisk, AFullDiskStopsTheRunAtTheFileThatDoesNotFit) {
  const std::string failing = "Langer Text.sng"; // row 11
  std::ofstream(dir.path() / failing) << "old content";
  const auto runOnAFullDisk = [&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16384, 16384};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::exit(ErrorOf([&] { RunImport(dir.path(), fixture.presets, fixture.table); }) == "Stream write error" ? 0 : 1);
  };
  EXPECT_EXIT(runOnAFullDisk(), testing::ExitedWithCode(0), "");
  ExpectStoppedAt(failing, {"Ein feste Burg ist unser Gott.sng", "Gro\xC3\x9F" "er Gott wir loben dich.sng",
                            "Lobe den Herren (2).sng", "Lobe den Herren.sng", "Nun danket alle Gott.sng",
                            "Preis  Dank  Ehre  Caf.sng", "Stille Nacht heilige Nacht.sng",
                            "Wir pfl\xC3\xBC" "gen und wir streuen.sng"});
}
