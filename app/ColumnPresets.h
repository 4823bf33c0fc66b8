#pragma once
// The column choosers and their presets from the column names. A chooser here
// is the plain model of a pick-only drop-down: the window copies its combo
// boxes into these, presets them and copies the selections back.

#include <string_view>
#include <vector>

#include "app/SongFields.h"
#include "platform/ado/ADOTable.h"

struct TColumnChooser {
  std::vector<AnsiString> Items; // after filling: the empty entry, then the column names
  int ItemIndex = -1;            // -1: nothing selected; mapped only when above 0
};

using TColumnChoosers = std::array<TColumnChooser, kSongFieldCount>; // by TSongField

// A chooser for a table: the empty entry, then the field names in column
// order, nothing selected.
TColumnChooser ColumnChooserFor(const std::vector<TField> &fields);

// The index of the first item that contains the fragment, both upper-cased
// in Windows-1252 ("über" contains "ÜBER"); -1 when none does.
int FindItemContaining(std::string_view fragment, const std::vector<AnsiString> &items);

// Selects the first item containing the fragment, unless the chooser already
// has a selection.
void PresetChooser(TColumnChooser &chooser, std::string_view fragment);

// Presets thirteen choosers from fragments of the column names, tried in a
// fixed order, and the song text chooser with the first memo field.
void AutoMapColumns(TColumnChoosers &choosers, const std::vector<TField> &fields);

// The columns the choosers name: a chooser's selected item when it is above
// entry 0, else unmapped.
TColumnChoices ChosenColumns(const TColumnChoosers &choosers);
