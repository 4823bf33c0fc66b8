// Runs the built tabulift-cli as a user would and checks what it prints and returns.

#include <gtest/gtest.h>

#include "tests/CliRun.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDatabase = std::string(TABULIFT_FIXTURES) + "/lieder.mdb";

} // namespace

struct CliCase {
  const char *name;
  std::vector<std::string> arguments; // "{db}" is lieder.mdb, "{dir}" a fresh directory
  int exitCode;
  std::string out;    // what stdout holds exactly, or (with outPart) a part of it
  bool outPart;
  std::string errPart; // a part of stderr; empty: stderr stays empty
};

void PrintTo(const CliCase &c, std::ostream *out) { *out << c.name; }

class CommandLine : public testing::TestWithParam<CliCase> {};

TEST_P(CommandLine, AnswersWithItsOutputAndExitStatus) {
  TempDir dir;
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string &argument : arguments)
    argument = argument == "{db}" ? kDatabase : argument == "{dir}" ? (dir.path() / "songs").string() : argument;
  const TCliRun run = RunCli(arguments);

  EXPECT_EQ(run.ExitCode, GetParam().exitCode);
  if (GetParam().outPart)
    EXPECT_NE(run.Out.find(GetParam().out), std::string::npos) << run.Out;
  else
    EXPECT_EQ(run.Out, GetParam().out);
  if (GetParam().errPart.empty())
    EXPECT_EQ(run.Err, "");
  else
    EXPECT_NE(run.Err.find(GetParam().errPart), std::string::npos) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine, testing::Values(
  CliCase{"Tables", {"tables", "{db}"}, 0, "Leer\nLieder\nSongs\n", false, ""},
  CliCase{"Columns", {"columns", "{db}", "Songs"}, 0,
          "SongID\tnumber\tquickfind\nTitle\ttext\ttitle\nAuthor\ttext\tauthor\nMusic\ttext\tmelody\n"
          "Translator\ttext\ttranslation\nCopyright\ttext\tcopyright\nKeywords\ttext\tkeywords\nKey\ttext\n"
          "Songbook\ttext\tsongbook\nCCLI Number\tnumber\tccli\nLyrics\tmemo\ttext\nNotes\tmemo\n", false, ""},
  CliCase{"ColumnsFedTwice", {"columns", "{db}", "Lieder"}, 0, "Titel\ttext\ttitle\nOriginaltitel\ttext\totitle\n"
          "Text\ttext\tauthor\n", true, ""},
  CliCase{"Convert", {"convert", "{db}", "Lieder", "{dir}"}, 0,
          "Zeilen: 12, geschrieben: 10, ohne Liedtext: 2, umbenannt: 1\n", false, ""},
  CliCase{"ConvertUnmappingTheText", {"convert", "--map", "text=", "{db}", "Lieder", "{dir}"}, 0,
          "Zeilen: 12, geschrieben: 0, ohne Liedtext: 12, umbenannt: 0\n", false, ""},
  CliCase{"ConvertAnEmptyTable", {"convert", "{db}", "Leer", "{dir}"}, 0,
          "Zeilen: 0, geschrieben: 0, ohne Liedtext: 0, umbenannt: 0\n", false, ""},
  CliCase{"UnknownColumn", {"convert", "{db}", "Lieder", "{dir}", "--map", "bible=Nope"}, 1, "", false,
          "ADOTable1: Field 'Nope' not found"},
  CliCase{"UnknownTable", {"columns", "{db}", "Nope"}, 1, "", false, "'Nope'"},
  CliCase{"MissingDatabase", {"tables", "/nowhere/lieder.mdb"}, 1, "", false,
          "Could not find file '/nowhere/lieder.mdb'."},
  CliCase{"NoCommand", {}, 2, "", false, "A subcommand is required"},
  CliCase{"MissingArgument", {"convert", "{db}", "Lieder"}, 2, "", false, "TARGETDIR is required"},
  CliCase{"UnknownField", {"convert", "{db}", "Lieder", "{dir}", "--map", "tune=Melodie"}, 2, "", false,
          "'tune=Melodie' ist kein FIELD=COLUMN"},
  CliCase{"MapWithoutColumn", {"convert", "{db}", "Lieder", "{dir}", "--map", "title"}, 2, "", false,
          "'title' ist kein FIELD=COLUMN"},
  CliCase{"UnknownOption", {"tables", "{db}", "--all"}, 2, "", false, "--all"},
  CliCase{"Help", {"--help"}, 0, "tabulift-cli convert examples/lieder.mdb Lieder /tmp/songs", true, ""},
  CliCase{"ConvertHelp", {"convert", "--help"}, 0, "FIELD: text, title, otitle, author", true, ""}));

TEST(CommandLine, MapsColumnsGivenInUtf8AfterNoPresets) {
  TempDir dir;
  const TCliRun run = RunCli({"convert", kDatabase, "Lieder", dir.path().string(), "--no-presets", "--map",
                              "text=Liedtext", "--map", "translation=\xC3\x9C" "bersetzung"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(ReadBytes(dir.path() / "Stille Nacht heilige Nacht.sng"),
            "#Translation=John Freeman Young\r\n#Editor=Tabulift 1.0\r\n---\r\nStille Nacht, heilige Nacht!\r\n"
            "Alles schl\xE4" "ft; einsam wacht\r\n");
}

TEST(CommandLine, AnErrorKeepsTheFilesWrittenBefore) {
  TempDir dir;
  fs::create_directories(dir.path() / "Stille Nacht heilige Nacht.sng");
  const TCliRun run = RunCli({"convert", kDatabase, "Lieder", dir.path().string()});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err.find("Cannot create file"), std::string::npos) << run.Err;
  EXPECT_EQ(FileNames(dir.path()).size(), 5u); // rows 1 to 4 and the directory in the way
}
