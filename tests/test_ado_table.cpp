#include "platform/ado/ADOConnection.h"
#include "platform/ado/ADOTable.h"
#include "platform/ado/ConnectionString.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "tests/TempDir.h"

namespace fs = std::filesystem;
using Names = std::vector<AnsiString>;
using Row = std::vector<AnsiString>;

namespace {

const fs::path kFixtures = TABULIFT_FIXTURES;

// A connection and its table, opened on `tableName`.
struct OpenTable {
  TADOConnection connection;
  TADOTable table;

  OpenTable(const fs::path &file, std::string_view tableName, TCursorType cursor) {
    connection.SetConnectionString(JetConnectionString(file));
    table.SetConnection(&connection);
    table.SetTableName(tableName);
    table.SetCursorType(cursor);
    table.Open();
  }
};

std::vector<Row> ReadAll(TADOTable &table) {
  std::vector<Row> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    Row row;
    for (const TField &field : table.Fields())
      row.push_back(table.AsString(field.Index()));
    rows.push_back(row);
  }
  return rows;
}

std::string ErrorOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const EDatabaseError &error) {
    return error.what();
  }
  return "(no error)";
}

bool EndsWith(std::string_view text, std::string_view end) { return text.ends_with(end); }

} // namespace

struct FormatCase {
  const char *file;
  TCursorType cursor;
};

void PrintTo(const FormatCase &c, std::ostream *out) { *out << c.file; }

std::string FormatCaseName(const testing::TestParamInfo<FormatCase> &info) {
  std::string name = info.param.file;
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name + (info.param.cursor == TCursorType::ctStatic ? "_static" : "_forward");
}

class LiederTable : public testing::TestWithParam<FormatCase> {
protected:
  OpenTable open{kFixtures / GetParam().file, "Lieder", GetParam().cursor};
};

TEST_P(LiederTable, HasTheColumnsWithTheirKindsInColumnOrder) {
  using enum TFieldType;
  const std::vector<std::pair<AnsiString, TFieldType>> expected = {
      {"ID", ftInteger},       {"Titel", ftString},       {"Originaltitel", ftString},
      {"Text", ftString},      {"Melodie", ftString},     {"\xDC" "bersetzung", ftString},
      {"Copyright", ftString}, {"Stichw\xF6rter", ftString}, {"Tonart", ftString},
      {"Bibelstelle", ftString}, {"Liederbuch", ftString}, {"CCLI", ftInteger},
      {"Liedtext", ftMemo}};
  const std::vector<TField> &fields = open.table.Fields();
  ASSERT_EQ(fields.size(), expected.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(fields[i].FieldName(), expected[i].first);
    EXPECT_EQ(fields[i].Index(), static_cast<int>(i));
    EXPECT_EQ(fields[i].DataType(), expected[i].second) << fields[i].FieldName();
    EXPECT_EQ(fields[i].IsMemo(), i == 12);
  }
}

TEST_P(LiederTable, ReadsEveryRowAsWindows1252Text) {
  const std::vector<Row> rows = ReadAll(open.table);
  ASSERT_EQ(rows.size(), 12u);

  EXPECT_EQ(rows[0], (Row{"1", "Gro\xDF" "er Gott, wir loben dich", "", "Ignaz Franz", "Wien 1776", "",
                          "gemeinfrei", "Lob; Anbetung", "F-Dur", "Psalm 145", "EG 331", "",
                          "[Strophe 1]\r\nGro\xDF" "er Gott, wir loben dich;\r\nHerr, wir preisen deine St\xE4rke.\r\n"
                          "Vor dir neigt die Erde sich\r\nund bewundert deine Werke.\r\n\r\n[Strophe 2]\r\n"
                          "Alles, was dich preisen kann,\r\nCherubim und Seraphinen,\r\n"
                          "stimmen dir ein Loblied an;\r\nalle Engel, die dir dienen,\r\n"}));
  EXPECT_EQ(rows[1][11], "12345");                        // a number in decimal
  EXPECT_EQ(rows[2][12], "Nun danket alle Gott\nmit Herzen, Mund und H\xE4nden,\r\n"
                         "der gro\xDF" "e Dinge tut\ran uns und allen Enden"); // line ends as stored
  EXPECT_EQ(rows[5][12], "");                             // a NULL memo
  EXPECT_EQ(rows[7][1], "");                              // a NULL text
  EXPECT_EQ(rows[9][1], "Preis \x96 Dank \x80 \x84" "Ehre\x93 \x85 Caf\xE9"); // 0x80-0x9F and é
  EXPECT_TRUE(EndsWith(rows[9][12], "\r\nNicht im Zeichensatz: ? ?\xF3" "d? ??")) << rows[9][12]; // Ω ł ź 漢字
  EXPECT_EQ(rows[10][12].size(), 40090u);                 // the long memo comes whole
  EXPECT_TRUE(EndsWith(rows[10][12], "Gott sei Dank\r\n\r\nENDE DES LANGEN TEXTES"));
  EXPECT_EQ(rows[10][8], " C-Dur");                       // no trimming
}

TEST_P(LiederTable, FirstStartsAgainAfterTheEnd) {
  const std::vector<Row> once = ReadAll(open.table);
  EXPECT_TRUE(open.table.Eof());
  EXPECT_EQ(ReadAll(open.table), once);
  EXPECT_EQ(open.table.RecordCount(), 12);
}

INSTANTIATE_TEST_SUITE_P(Formats, LiederTable,
                         testing::Values(FormatCase{"lieder.mdb", TCursorType::ctStatic},
                                         FormatCase{"lieder.mdb", TCursorType::ctOpenForwardOnly},
                                         FormatCase{"lieder2003.mdb", TCursorType::ctStatic},
                                         FormatCase{"lieder2003.mdb", TCursorType::ctOpenForwardOnly},
                                         FormatCase{"lieder.accdb", TCursorType::ctStatic},
                                         FormatCase{"lieder.accdb", TCursorType::ctOpenForwardOnly}),
                         FormatCaseName);

struct ListingCase {
  const char *file;
  Names names;
};

void PrintTo(const ListingCase &c, std::ostream *out) { *out << c.file; }

class TableListing : public testing::TestWithParam<ListingCase> {};

TEST_P(TableListing, ListsTheUserTablesByName) {
  TADOConnection connection;
  connection.SetConnectionString(JetConnectionString(kFixtures / GetParam().file));
  Names names{"left over"};
  connection.GetTableNames(names);
  EXPECT_EQ(names, GetParam().names);
  EXPECT_TRUE(connection.Connected());
}

INSTANTIATE_TEST_SUITE_P(Formats, TableListing,
                         testing::Values(ListingCase{"lieder.mdb", {"Leer", "Lieder", "Songs"}},
                                         ListingCase{"lieder2003.mdb", {"Lieder"}},
                                         ListingCase{"lieder.accdb", {"Lieder"}}));

TEST(ADOTable, MarksEveryMemoColumnAndOnlyThose) {
  OpenTable open(kFixtures / "lieder.mdb", "Songs", TCursorType::ctStatic);
  std::vector<AnsiString> memos;
  for (const TField &field : open.table.Fields())
    if (field.IsMemo())
      memos.push_back(field.FieldName());
  EXPECT_EQ(memos, (Names{"Lyrics", "Notes"}));
}

TEST(ADOTable, AnEmptyTableIsAtItsEndAtOnce) {
  for (const TCursorType cursor : {TCursorType::ctStatic, TCursorType::ctOpenForwardOnly}) {
    OpenTable open(kFixtures / "lieder.mdb", "leer", cursor); // names ignore letter case
    EXPECT_TRUE(open.table.Eof());
    EXPECT_EQ(open.table.Fields().size(), 13u);
    open.table.First();
    EXPECT_TRUE(open.table.Eof());
    EXPECT_EQ(open.table.RecordCount(), 0);
  }
}

TEST(ADOTable, FindsFieldsRegardlessOfWindows1252LetterCase) {
  OpenTable open(kFixtures / "lieder.mdb", "Lieder", TCursorType::ctStatic);
  EXPECT_EQ(open.table.FieldByName("titel").Index(), 1);
  EXPECT_EQ(open.table.FieldByName("\xFC" "BERSETZUNG").Index(), 5);
  EXPECT_EQ(open.table.FindField("Uebersetzung"), nullptr);
  EXPECT_EQ(ErrorOf([&] { open.table.FieldByName("Nope"); }), "ADOTable1: Field 'Nope' not found");
}

TEST(ADOTable, AForwardOnlyTableReadsOnWhenItsConnectionCloses) {
  OpenTable open(kFixtures / "lieder.mdb", "Lieder", TCursorType::ctOpenForwardOnly);
  open.connection.Close();
  EXPECT_EQ(ReadAll(open.table).size(), 12u);
}

TEST(ADOTable, AClosedTableHasNoFieldsAndRefusesToMove) {
  OpenTable open(kFixtures / "lieder.mdb", "Lieder", TCursorType::ctStatic);
  open.table.Close();
  open.table.Close(); // closing a closed table does nothing
  EXPECT_TRUE(open.table.Fields().empty());
  EXPECT_EQ(ErrorOf([&] { open.table.FieldByName("Titel"); }), "ADOTable1: Field 'Titel' not found");
  const std::string closed = "ADOTable1: Cannot perform this operation on a closed dataset";
  EXPECT_EQ(ErrorOf([&] { open.table.First(); }), closed);
  EXPECT_EQ(ErrorOf([&] { open.table.Next(); }), closed);
  EXPECT_EQ(ErrorOf([&] { open.table.AsString(0); }), closed);
}

TEST(ADOTable, KeepsItsNameAndCursorWhileOpen) {
  OpenTable open(kFixtures / "lieder.mdb", "Lieder", TCursorType::ctStatic);
  const std::string opened = "ADOTable1: Cannot perform this operation on an open dataset";
  EXPECT_EQ(ErrorOf([&] { open.table.SetTableName("Songs"); }), opened);
  EXPECT_EQ(ErrorOf([&] { open.table.SetCursorType(TCursorType::ctOpenForwardOnly); }), opened);
  EXPECT_EQ(open.table.TableName(), "Lieder");
}

TEST(ADOTable, AnUnknownTableLeavesTheTableClosedAndIsNamed) {
  TADOConnection connection;
  connection.SetConnectionString(JetConnectionString(kFixtures / "lieder.mdb"));
  TADOTable table;
  table.SetConnection(&connection);
  table.SetTableName("Lieder\xE4");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }),
            "Cannot find the input table or query 'Lieder\xC3\xA4'. "
            "Make sure it exists and that its name is spelled correctly.");
  EXPECT_FALSE(table.Active());
  table.SetTableName("MSysObjects"); // system tables are not offered
  EXPECT_NE(ErrorOf([&] { table.Open(); }).find("'MSysObjects'"), std::string::npos);
}

struct BadFileCase {
  const char *name;
  std::string content; // written to the file; "<none>" writes nothing, "<dir>" makes a directory
  std::string message; // with "%s" for the file's path
};

void PrintTo(const BadFileCase &c, std::ostream *out) { *out << c.name; }

class BadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(BadFile, FailsNamingTheFileAndLibmdbStaysQuiet) {
  TempDir dir;
  const fs::path file = dir.path() / "songs.mdb";
  if (GetParam().content == "<dir>")
    fs::create_directory(file);
  else if (GetParam().content != "<none>")
    std::ofstream(file, std::ios::binary) << GetParam().content;

  TADOConnection connection;
  connection.SetConnectionString(JetConnectionString(file));
  std::vector<AnsiString> names{"kept"};
  testing::internal::CaptureStderr();
  const std::string error = ErrorOf([&] { connection.GetTableNames(names); });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  std::string expected = GetParam().message;
  expected.replace(expected.find("%s"), 2, file.string());
  EXPECT_EQ(error, expected);
  EXPECT_EQ(names, Names{"kept"});
  EXPECT_FALSE(connection.Connected());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFile,
    testing::Values(BadFileCase{"Missing", "<none>", "Could not find file '%s'."},
                    BadFileCase{"Directory", "<dir>", "Cannot open file '%s': Is a directory."},
                    BadFileCase{"Empty", "", "Unrecognized database format '%s'."},
                    BadFileCase{"Text", "Titel;Text\r\nLobe den Herren;...\r\n", "Unrecognized database format '%s'."},
                    // a Jet header whose catalog pages are missing: libmdb complains on stderr
                    BadFileCase{"Truncated", std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(200, '\0'),
                                "The database '%s' is damaged and cannot be read."}),
    [](const testing::TestParamInfo<BadFileCase> &info) { return std::string(info.param.name); });

TEST(ADOConnection, WithoutADataSourceItCannotOpen) {
  TADOConnection connection;
  EXPECT_EQ(ErrorOf([&] { connection.Open(); }),
            "The connection string names no database file (\"Data Source=\").");
}
