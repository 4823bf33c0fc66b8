#pragma once
// The import run: every row of the open table becomes one song file in the
// target directory. The window's GoBtnClick and the command line both call it.

#include <filesystem>
#include <functional>

#include "app/SongFields.h"

class TADOTable;

struct TImportResult {
  int RowsRead = 0;
  int FilesWritten = 0;
  int RowsWithoutText = 0; // rows whose song text was empty once cleaned: no file
  int FilesRenamed = 0;    // files that got " (2)", " (3)", ... as their name was taken
};

// Called after each row with the rows done so far and the table's row count
// (-1 when the table cannot tell it in advance).
using TImportProgress = std::function<void(int row, int rowCount)>;

// Does nothing for an empty target directory. Otherwise creates it and writes
// a song per row, filled from the chosen columns in the header's order, with
// the editor "Tabulift 1.0", cleaned. Within one run no file replaces another:
// a name already written (letter case ignored, as on Windows) gets " (2)",
// " (3)", ... before ".sng". Files that were there before the run are replaced.
// Errors leave the run at once; the files already written stay. A chosen
// column that the table lacks fails before the first row: "<table>: Field
// '<name>' not found".
TImportResult RunImport(const std::filesystem::path &targetDirectory, const TColumnChoices &columns,
                        TADOTable &table, const TImportProgress &progress = {});
