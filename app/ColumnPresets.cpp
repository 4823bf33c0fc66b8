#include "app/ColumnPresets.h"

#include <algorithm>
#include <utility>

namespace {

// Of the fragments of one chooser the first that any column contains decides.
constexpr std::pair<TSongField, std::string_view> kFragments[] = {
    {sfTitle, "TITLE"},       {sfTitle, "TITEL"},         {sfOTitle, "ORIG"},
    {sfAuthor, "TEXT"},       {sfAuthor, "AUTHOR"},       {sfMelody, "MUSIK"},
    {sfMelody, "MUSIC"},      {sfMelody, "MELODIE"},      {sfTranslation, "\xDC" "BER"},
    {sfTranslation, "TRANS"}, {sfNatCopyright, "NAT"},    {sfNatCopyright, "RECHT_D"},
    {sfCopyright, "COPYR"},   {sfCopyright, "VERLAG"},    {sfKeywords, "STICH"},
    {sfKeywords, "KEYW"},     {sfKey, "TON"},             {sfKey, "DUR"},
    {sfBible, "BIB"},         {sfSongBook, "BOOK"},       {sfSongBook, "BUCH"},
    {sfCCLI, "CCLI"},         {sfQuickFind, "QUICK"},     {sfQuickFind, "ID"},
};

} // namespace

TColumnChooser ColumnChooserFor(const std::vector<TField> &fields) {
  TColumnChooser chooser;
  chooser.Items.emplace_back();
  for (const TField &field : fields)
    chooser.Items.push_back(field.FieldName());
  return chooser;
}

int FindItemContaining(std::string_view fragment, const std::vector<AnsiString> &items) {
  const AnsiString upperFragment = AnsiUpperCase(fragment);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (AnsiUpperCase(items[i]).find(upperFragment) != AnsiString::npos)
      return static_cast<int>(i);
  return -1;
}

void PresetChooser(TColumnChooser &chooser, std::string_view fragment) {
  if (chooser.ItemIndex != -1)
    return;
  if (const int index = FindItemContaining(fragment, chooser.Items); index != -1)
    chooser.ItemIndex = index;
}

void AutoMapColumns(TColumnChoosers &choosers, const std::vector<TField> &fields) {
  for (const auto &[field, fragment] : kFragments)
    PresetChooser(choosers[field], fragment);

  const auto memo = std::find_if(fields.begin(), fields.end(), [](const TField &f) { return f.IsMemo(); });
  if (memo == fields.end())
    return;
  std::vector<AnsiString> &items = choosers[sfText].Items;
  if (const auto item = std::find(items.begin(), items.end(), memo->FieldName()); item != items.end())
    choosers[sfText].ItemIndex = static_cast<int>(item - items.begin());
}

TColumnChoices ChosenColumns(const TColumnChoosers &choosers) {
  TColumnChoices columns;
  for (int field = 0; field < kSongFieldCount; ++field) {
    const TColumnChooser &chooser = choosers[field];
    if (chooser.ItemIndex > 0 && chooser.ItemIndex < static_cast<int>(chooser.Items.size()))
      columns[field] = chooser.Items[chooser.ItemIndex];
  }
  return columns;
}
