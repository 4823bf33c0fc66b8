#pragma once
// TSimpleSNG: one song file in memory, a header of "#Name=Value" entries and
// the song text, written as Windows-1252 bytes with CR LF line ends.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "util/Ansi.h"

class TSimpleSNG {
public:
  TSimpleSNG() = default;
  ~TSimpleSNG() = default;

  std::vector<AnsiString> &Lines() { return FLines; }
  const std::vector<AnsiString> &Lines() const { return FLines; }
  const std::vector<AnsiString> &Header() const { return FHeader; }

  // Whole-text assignment to Lines: breaks at CR LF, lone CR or lone LF; a
  // break at the very end adds no empty line; a NUL byte ends the text.
  void SetText(std::string_view text);

  AnsiString GetValue(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);

  void SetTitle(std::string_view value) { SetValue("#Title", value); }
  void SetOTitle(std::string_view value) { SetValue("#OTitle", value); }
  void SetAuthor(std::string_view value) { SetValue("#Author", value); }
  void SetMelody(std::string_view value) { SetValue("#Melody", value); }
  void SetTranslation(std::string_view value) { SetValue("#Translation", value); }
  void SetNatCopyright(std::string_view value) { SetValue("#NatCopyright", value); }
  void SetCopyright(std::string_view value) { SetValue("#(c)", value); }
  void SetKeywords(std::string_view value) { SetValue("#Keywords", value); }
  void SetKey(std::string_view key);
  void SetBible(std::string_view value) { SetValue("#Bible", value); }
  void SetSongBook(std::string_view value) { SetValue("#SongBook", value); }
  void SetCCLI(std::string_view value) { SetValue("#CCLI", value); }
  void SetQuickFind(std::string_view value) { SetValue("#QuickFind", value); }
  void SetEditor(std::string_view value) { SetValue("#Editor", value); }

  // The title, moving a "#Titel" entry to "#Title" when there is no "#Title".
  AnsiString GetTitle();

  void CleanUpText();

  // The name the song file gets (without directory and extension): the title
  // filtered to the file-name characters, else the filtered first text line,
  // else "Unbenannt".
  AnsiString FileTitle();

  // Writes "<directory>/<FileTitle><nameSuffix>.sng" unless there are no text
  // lines; returns the path written, or an empty path when nothing was written.
  // The directory is made, with its parents, when missing.
  std::filesystem::path SaveToDirectory(const std::filesystem::path &directory,
                                        std::string_view nameSuffix = {});
  void SaveToFile(const std::filesystem::path &fileName) const;

private:
  std::string FileContent() const;

  std::vector<AnsiString> FHeader;
  std::vector<AnsiString> FLines;
};

// The file name for a song: `fileTitle` cut to fit the file system's limit,
// then `nameSuffix` and ".sng", in the file system's encoding.
std::filesystem::path SongFileName(std::string_view fileTitle, std::string_view nameSuffix = {});

// The same name in Windows-1252 without ".sng", for comparing names.
AnsiString SongFileStem(std::string_view fileTitle, std::string_view nameSuffix = {});
