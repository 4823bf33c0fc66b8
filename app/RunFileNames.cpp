#include "app/RunFileNames.h"

#include "song/CreateSngUnit.h"

namespace {

AnsiString Suffix(int number) { return " (" + std::to_string(number) + ")"; }

// The name as the file system gets it (cut to its length limit), folded.
std::string Key(std::string_view fileTitle, std::string_view suffix) {
  return AnsiUpperCase(Utf8ToAnsi(SongFileName(fileTitle, suffix).string()));
}

} // namespace

AnsiString TRunFileNames::FreeSuffix(std::string_view fileTitle) {
  const std::string plain = Key(fileTitle, {});
  if (!FWritten.contains(plain))
    return {};
  // Names only ever join the set, so the smallest free number never falls
  // below the one found last time for this name.
  int &number = FNextNumber.try_emplace(plain, 2).first->second;
  while (FWritten.contains(Key(fileTitle, Suffix(number))))
    ++number;
  return Suffix(number);
}

void TRunFileNames::Add(std::string_view fileTitle, std::string_view suffix) {
  FWritten.insert(Key(fileTitle, suffix));
}
