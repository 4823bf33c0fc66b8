#include "app/RunFileNames.h"

#include "song/CreateSngUnit.h"

namespace {

AnsiString Suffix(int number) { return " (" + std::to_string(number) + ")"; }

// The name as the file system gets it (cut to its length limit), folded.
std::string Key(std::string_view fileTitle, std::string_view suffix) {
  return AnsiUpperCase(Utf8ToAnsi(SongFileName(fileTitle, suffix).string()));
}

} // namespace

AnsiString TRunFileNames::Claim(std::string_view fileTitle) {
  std::string plain = Key(fileTitle, {});
  if (FWritten.insert(plain).second)
    return {};
  // Names only ever join the set, so the smallest free number never falls
  // below the one found last time for this name.
  int &number = FNextNumber.try_emplace(std::move(plain), 2).first->second;
  while (!FWritten.insert(Key(fileTitle, Suffix(number))).second)
    ++number;
  return Suffix(number);
}
