#pragma once
// The fourteen song fields that a table's columns can feed, one per column
// chooser, in the order in which the import run resolves their columns: the
// song text (SongMemoCombo) first, then TitleCombo to QuickfindCombo.

#include <array>

#include "util/Ansi.h"

enum TSongField {
  sfText,         // SongMemoCombo: the song text
  sfTitle,        // TitleCombo
  sfOTitle,       // OTitleCombo
  sfAuthor,       // TextCombo: the author of the words
  sfMelody,       // MusicCombo: the author of the melody
  sfTranslation,  // TranslationCombo
  sfNatCopyright, // NatCopyCombo
  sfCopyright,    // CopyrightCombo
  sfKeywords,     // KeywordsCombo
  sfKey,          // KeyCombo
  sfBible,        // BibleCombo
  sfSongBook,     // SongbookCombo
  sfCCLI,         // CCLICombo
  sfQuickFind,    // QuickfindCombo
};

constexpr int kSongFieldCount = sfQuickFind + 1;

// For each song field the name of the column that feeds it; empty: unmapped.
using TColumnChoices = std::array<AnsiString, kSongFieldCount>;
