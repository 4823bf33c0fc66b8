#include "app/ImportRun.h"

#include <utility>

#include "app/RunFileNames.h"
#include "platform/ado/ADOTable.h"
#include "song/CreateSngUnit.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEditor = "Tabulift 1.0";

using Setter = void (TSimpleSNG::*)(std::string_view);

// The header fields in the order the song's header lists them.
constexpr std::pair<TSongField, Setter> kSetters[] = {
    {sfTitle, &TSimpleSNG::SetTitle},
    {sfOTitle, &TSimpleSNG::SetOTitle},
    {sfAuthor, &TSimpleSNG::SetAuthor},
    {sfMelody, &TSimpleSNG::SetMelody},
    {sfTranslation, &TSimpleSNG::SetTranslation},
    {sfNatCopyright, &TSimpleSNG::SetNatCopyright},
    {sfCopyright, &TSimpleSNG::SetCopyright},
    {sfKeywords, &TSimpleSNG::SetKeywords},
    {sfKey, &TSimpleSNG::SetKey},
    {sfBible, &TSimpleSNG::SetBible},
    {sfSongBook, &TSimpleSNG::SetSongBook},
    {sfCCLI, &TSimpleSNG::SetCCLI},
    {sfQuickFind, &TSimpleSNG::SetQuickFind},
};

// Each chooser's column as a field position, -1 for an unmapped one; looked up
// once per run, before any row is read.
std::array<int, kSongFieldCount> ColumnMap(const TColumnChoices &columns, const TADOTable &table) {
  std::array<int, kSongFieldCount> positions{};
  for (int field = 0; field < kSongFieldCount; ++field)
    positions[field] = columns[field].empty() ? -1 : table.FieldByName(columns[field]).Index();
  return positions;
}

} // namespace

TImportResult RunImport(const fs::path &targetDirectory, const TColumnChoices &columns, TADOTable &table,
                        const TImportProgress &progress) {
  TImportResult result;
  if (targetDirectory.empty())
    return result;
  std::error_code ignored; // a directory that cannot be made fails as the first file's creation
  fs::create_directories(targetDirectory, ignored);

  const std::array<int, kSongFieldCount> positions = ColumnMap(columns, table);
  table.First();
  const int rowCount = table.RecordCount();
  TRunFileNames written;
  for (; !table.Eof(); table.Next()) {
    TSimpleSNG song;
    for (const auto &[field, setter] : kSetters)
      if (positions[field] != -1)
        (song.*setter)(table.AsString(positions[field]));
    if (positions[sfText] != -1)
      song.SetText(table.AsString(positions[sfText]));
    song.SetEditor(kEditor);
    song.CleanUpText();

    const AnsiString suffix = song.Lines().empty() ? AnsiString() : written.Claim(song.FileTitle());
    if (song.SaveToDirectory(targetDirectory, suffix).empty()) {
      ++result.RowsWithoutText;
    } else {
      ++result.FilesWritten;
      result.FilesRenamed += suffix.empty() ? 0 : 1;
    }
    ++result.RowsRead;
    if (progress)
      progress(result.RowsRead, rowCount);
  }
  return result;
}
