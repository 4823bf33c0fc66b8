// Damaged and foreign files, through the data layer and through tabulift-cli:
// opening, listing, opening every table and reading every row ends, with the
// data or with an error that names the file, and never takes the program down.

#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "platform/ado/ADOConnection.h"
#include "platform/ado/ADOTable.h"
#include "platform/ado/ConnectionString.h"
#include "tests/CliRun.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;
using Names = std::vector<AnsiString>;

namespace {

const fs::path kFixtures = TABULIFT_FIXTURES;
const fs::path kRegressions = TABULIFT_FUZZ_REGRESSIONS;

std::string RandomBytes(std::size_t count) {
  std::mt19937 random(7);
  std::string bytes(count, '\0');
  for (char &byte : bytes)
    byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Opens the file, lists it, and reads every value of every table; the number
// of rows read, or the error.
std::string ReadEverything(const fs::path &file) {
  try {
    TADOConnection connection;
    connection.SetConnectionString(JetConnectionString(file));
    Names names;
    connection.GetTableNames(names);
    int rows = 0;
    for (const AnsiString &name : names) {
      TADOTable table;
      table.SetConnection(&connection);
      table.SetTableName(name);
      table.Open();
      for (table.First(); !table.Eof(); table.Next(), ++rows)
        for (const TField &field : table.Fields())
          table.AsString(field.Index());
    }
    return std::to_string(rows) + " rows";
  } catch (const EDatabaseError &error) {
    return error.what();
  }
}

std::string Unrecognized(const fs::path &file) { return "Unrecognized database format '" + file.string() + "'."; }
std::string Damaged(const fs::path &file) { return "The database '" + file.string() + "' is damaged and cannot be read."; }

struct BadFileCase {
  const char *name;
  std::function<std::string()> content; // nullptr: no file at all
  std::function<std::string(const fs::path &)> error;
};

void PrintTo(const BadFileCase &c, std::ostream *out) { *out << c.name; }

std::string Fixture(std::size_t cut) { return ReadBytes(kFixtures / "lieder.mdb").substr(0, cut); }

std::function<std::string()> CutAt(std::size_t size) {
  return [size] { return Fixture(size); };
}

const BadFileCase kBadFiles[] = {
    {"Missing", nullptr, [](const fs::path &file) { return "Could not find file '" + file.string() + "'."; }},
    {"Empty", [] { return std::string(); }, Unrecognized},
    {"Text", [] { return std::string("Titel;Liedtext\r\nLobe den Herren;Lobe den Herren, den m\xE4" "chtigen\r\n"); },
     Unrecognized},
    {"RandomBytes", [] { return RandomBytes(65536); }, Unrecognized},
    {"RandomPagesAfterAJetHeader", [] { return Fixture(4096) + RandomBytes(4096 * 20); }, Unrecognized},
    {"CutInTheHeaderPage", CutAt(1000), Damaged},
    {"CutAfterTheHeaderPage", CutAt(4096), Unrecognized},
    {"CutInTheCatalog", CutAt(10000), Damaged},
    {"CutInTheRows", CutAt(150000), Damaged},
    {"CutByOneByte", CutAt(229375), Damaged},
};

std::string CaseName(const testing::TestParamInfo<BadFileCase> &info) { return info.param.name; }

class BadFile : public testing::TestWithParam<BadFileCase> {
protected:
  void SetUp() override {
    if (GetParam().content)
      std::ofstream(file, std::ios::binary) << GetParam().content();
  }

  TempDir dir;
  fs::path file = dir.path() / "Lieder.mdb";
};

} // namespace

TEST_P(BadFile, FailsNamingTheFile) { EXPECT_EQ(ReadEverything(file), GetParam().error(file)); }

TEST_P(BadFile, FailsNamingTheFileInTheCommandLine) {
  for (const std::vector<std::string> &arguments :
       {std::vector<std::string>{"tables", file.string()},
        std::vector<std::string>{"convert", file.string(), "Lieder", (dir.path() / "songs").string()}}) {
    const TCliRun run = RunCli(arguments);
    EXPECT_EQ(run.ExitCode, 1) << arguments[0];
    EXPECT_NE(run.Err.find(GetParam().error(file)), std::string::npos) << run.Err;
    EXPECT_EQ(run.Out, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadFile, testing::ValuesIn(kBadFiles), CaseName);

// One byte of lieder.mdb changed makes a record length in an object's property
// blob 0, and libmdb's catalog reader then parses that blob forever. The
// catalog is read without the blobs, which nothing here needs, so the file
// reads as the undamaged one does.
TEST(DamagedDatabase, APropertyBlobThatHungLibmdbDoesNotMatter) {
  TempDir dir;
  std::string bytes = Fixture(std::string::npos);
  bytes[98103] = 0x31;
  const fs::path file = dir.path() / "Lieder.mdb";
  std::ofstream(file, std::ios::binary) << bytes;

  EXPECT_EQ(ReadEverything(file), ReadEverything(kFixtures / "lieder.mdb"));
  EXPECT_EQ(ReadEverything(file), "14 rows");
  const TCliRun run = RunCli({"convert", file.string(), "Lieder", (dir.path() / "songs").string()});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(FileNames(dir.path() / "songs").size(), 10u);
}

// The row count of Lieder's table definition says 2^31 - 1; the snapshot holds
// the 12 rows there are, and nothing is reserved for the rest.
TEST(DamagedDatabase, ARowCountBeyondTheRowsReadsTheRowsThereAre) {
  TempDir dir;
  std::string bytes = Fixture(std::string::npos);
  const std::size_t rowCount = 24 * 4096 + 16; // page 24 holds the definition
  ASSERT_EQ(bytes.substr(rowCount, 4), std::string("\x0C\0\0\0", 4));
  bytes.replace(rowCount, 4, "\xFF\xFF\xFF\x7F");
  const fs::path file = dir.path() / "Lieder.mdb";
  std::ofstream(file, std::ios::binary) << bytes;
  EXPECT_EQ(ReadEverything(file), "14 rows");
}

// The saved fuzzing inputs, replayed through the reader processes: each must
// end as it was recorded to end. An input that crashes our own code in the
// reader shows here as "contained" where "damaged" or "reads" is recorded.
struct Regression {
  std::string input;
  std::string outcome;
};

void PrintTo(const Regression &r, std::ostream *out) { *out << r.input; }

std::vector<Regression> Regressions() {
  std::vector<Regression> regressions;
  std::ifstream outcomes(kRegressions / "outcomes.txt");
  for (std::string line; std::getline(outcomes, line);) {
    Regression regression;
    if (!line.starts_with("#") && std::istringstream(line) >> regression.input >> regression.outcome)
      regressions.push_back(regression);
  }
  return regressions;
}

std::string Unpacked(const fs::path &packed) {
  std::string bytes;
  if (FILE *xz = popen(("xz -dc '" + packed.string() + "'").c_str(), "r")) {
    char block[65536];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, xz)) > 0;)
      bytes.append(block, got);
    pclose(xz);
  }
  return bytes;
}

std::string Outcome(const std::string &result, const fs::path &file) {
  if (result.ends_with(" rows"))
    return "reads";
  if (result.find("'" + file.string() + "'") == std::string::npos)
    return "error not naming the file: " + result;
  const bool reader = result.find(": the reader ") != std::string::npos;
  return reader ? "contained" : "damaged";
}

class FuzzRegression : public testing::TestWithParam<Regression> {};

TEST_P(FuzzRegression, EndsAsRecorded) {
  TempDir dir;
  const fs::path file = dir.path() / fs::path(GetParam().input).stem();
  std::ofstream(file, std::ios::binary) << Unpacked(kRegressions / GetParam().input);
  ASSERT_GT(fs::file_size(file), 0u);
  const std::string result = ReadEverything(file);
  EXPECT_EQ(Outcome(result, file), GetParam().outcome) << result;
}

INSTANTIATE_TEST_SUITE_P(Saved, FuzzRegression, testing::ValuesIn(Regressions()),
                         [](const testing::TestParamInfo<Regression> &info) {
                           std::string name = info.param.input.substr(0, info.param.input.find('.'));
                           std::erase(name, '-');
                           return name;
                         });
