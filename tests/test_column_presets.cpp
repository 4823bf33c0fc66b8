#include "app/ColumnPresets.h"

#include <gtest/gtest.h>

#include "platform/ado/ADOConnection.h"
#include "platform/ado/ConnectionString.h"

using Items = std::vector<AnsiString>;

namespace {

// Fields named as given; a name ending in "*" is a memo field.
std::vector<TField> FieldsNamed(const std::vector<std::string> &names) {
  std::vector<TField> fields;
  for (const std::string &name : names) {
    const bool memo = name.ends_with('*');
    fields.emplace_back(memo ? name.substr(0, name.size() - 1) : name, static_cast<int>(fields.size()),
                        memo ? TFieldType::ftMemo : TFieldType::ftString);
  }
  return fields;
}

TColumnChoices PresetColumns(const std::vector<TField> &fields) {
  TColumnChoosers choosers;
  choosers.fill(ColumnChooserFor(fields));
  AutoMapColumns(choosers, fields);
  return ChosenColumns(choosers);
}

} // namespace

struct ContainingCase {
  const char *fragment;
  Items items;
  int index;
};

void PrintTo(const ContainingCase &c, std::ostream *out) { *out << c.fragment; }

class ItemContaining : public testing::TestWithParam<ContainingCase> {};

TEST_P(ItemContaining, IsTheFirstHoldingTheFragmentInAnyCase) {
  EXPECT_EQ(FindItemContaining(GetParam().fragment, GetParam().items), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemContaining, testing::Values(
  ContainingCase{"TITLE", {"", "songtitle"}, 1},
  ContainingCase{"\xDC" "BER", {"", "\xFC" "bersetzung"}, 1},     // ü is upper-cased to Ü
  ContainingCase{"\xDC" "BER", {"", "Uebersetzung"}, -1},
  ContainingCase{"ID", {"", "Titel", "LiedID", "ID"}, 2},
  ContainingCase{"TEXT", {"", "Liedtext", "Text"}, 1},
  ContainingCase{"TEXT", {""}, -1},                               // the empty entry holds nothing
  ContainingCase{"TEXT", {}, -1}));

struct PresetCase {
  const char *name;
  std::vector<std::string> columns;
  TColumnChoices expected;
};

void PrintTo(const PresetCase &c, std::ostream *out) { *out << c.name; }

class ColumnPresetCases : public testing::TestWithParam<PresetCase> {};

TEST_P(ColumnPresetCases, MapTheColumnsAsTheFragmentTableSays) {
  EXPECT_EQ(PresetColumns(FieldsNamed(GetParam().columns)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColumnPresetCases, testing::Values(
  // by TSongField: text, title, otitle, author, melody, translation, natcopyright,
  // copyright, keywords, key, bible, songbook, ccli, quickfind
  PresetCase{"GermanColumns",
             {"Titel", "Text", "Melodie", "Tonart", "Bibelstelle", "Liederbuch", "CCLI", "Liedtext*"},
             {"Liedtext", "Titel", "", "Text", "Melodie", "", "", "", "", "Tonart", "Bibelstelle", "Liederbuch", "CCLI", ""}},
  PresetCase{"EnglishColumns",
             {"SongID", "Title", "Author", "Music", "Translator", "Copyright", "Keywords", "Key", "Songbook",
              "CCLI Number", "Lyrics*", "Notes*"},
             {"Lyrics", "Title", "", "Author", "Music", "Translator", "", "Copyright", "Keywords", "", "", "Songbook",
              "CCLI Number", "SongID"}},
  PresetCase{"AnEarlierFragmentWinsOverAnEarlierColumn", {"Author", "Text"},
             {"", "", "", "Text", "", "", "", "", "", "", "", "", "", ""}},
  PresetCase{"OneColumnFeedsSeveralChoosers", {"Originaltitel", "Titel"},
             {"", "Originaltitel", "Originaltitel", "", "", "", "", "", "", "", "", "", "", ""}},
  PresetCase{"ATextColumnIsNoSongText", {"Liedtext"},
             {"", "", "", "Liedtext", "", "", "", "", "", "", "", "", "", ""}},
  PresetCase{"ShortFragmentsMatchInsideWords", {"Signatur", "LiedID", "Duration"},
             {"", "", "", "", "", "", "Signatur", "", "", "Duration", "", "", "", "LiedID"}},
  PresetCase{"TheFirstMemoIsTheSongText", {"Notiz*", "Strophen*"},
             {"Notiz", "", "", "", "", "", "", "", "", "", "", "", "", ""}},
  PresetCase{"NoColumns", {}, {}}));

TEST(ColumnPresets, AChooserWithASelectionKeepsIt) {
  TColumnChooser chooser{{"", "Titel"}, 0};
  PresetChooser(chooser, "TITEL");
  EXPECT_EQ(chooser.ItemIndex, 0);
  chooser.ItemIndex = -1;
  PresetChooser(chooser, "TITEL");
  EXPECT_EQ(chooser.ItemIndex, 1);
}

TEST(ColumnPresets, OnlyASelectionAboveTheEmptyEntryChoosesAColumn) {
  TColumnChoosers choosers;
  choosers.fill(TColumnChooser{{"", "Titel", "Liedtext"}, -1});
  choosers[sfTitle].ItemIndex = 0;
  choosers[sfText].ItemIndex = 2;
  choosers[sfQuickFind].ItemIndex = 1;
  const TColumnChoices columns = ChosenColumns(choosers);
  EXPECT_EQ(columns[sfTitle], "");
  EXPECT_EQ(columns[sfText], "Liedtext");
  EXPECT_EQ(columns[sfQuickFind], "Titel");
  EXPECT_EQ(columns[sfKey], "");
}

TEST(ColumnPresets, MapTheFixtureTable) {
  TADOConnection connection;
  connection.SetConnectionString(JetConnectionString(std::filesystem::path(TABULIFT_FIXTURES) / "lieder.mdb"));
  TADOTable table;
  table.SetConnection(&connection);
  table.SetTableName("Lieder");
  table.Open();
  const TColumnChooser chooser = ColumnChooserFor(table.Fields());
  EXPECT_EQ(chooser.Items.size(), 14u);
  EXPECT_EQ(chooser.Items.front(), "");
  EXPECT_EQ(chooser.ItemIndex, -1);
  EXPECT_EQ(PresetColumns(table.Fields()),
            (TColumnChoices{"Liedtext", "Titel", "Originaltitel", "Text", "Melodie", "\xDC" "bersetzung", "",
                            "Copyright", "Stichw\xF6rter", "Tonart", "Bibelstelle", "Liederbuch", "CCLI", "ID"}));
}
