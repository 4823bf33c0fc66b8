#include "song/CreateSngUnit.h"

#include <algorithm>

namespace {

constexpr std::string_view kSeparator = "---";

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && IsTrimmed(line.front()))
    line.remove_prefix(1);
  while (!line.empty() && IsTrimmed(line.back()))
    line.remove_suffix(1);
  return line;
}

bool IsBlank(std::string_view line) { return Trimmed(line).empty(); }

bool IsVerseHeading(std::string_view trimmedLine) {
  return trimmedLine.size() > 2 && trimmedLine.front() == '[' && trimmedLine.back() == ']';
}

} // namespace

// Drops blank lines at both ends, trims every line, turns "[...]" headings into
// "---", and drops a "---" that would follow the header's own "---". The order
// matters: headings are found after the blank lines at the ends are gone.
void TSimpleSNG::CleanUpText() {
  const auto firstContent = std::find_if_not(FLines.begin(), FLines.end(), IsBlank);
  FLines.erase(FLines.begin(), firstContent);
  const auto lastContent = std::find_if_not(FLines.rbegin(), FLines.rend(), IsBlank);
  FLines.erase(lastContent.base(), FLines.end());

  for (AnsiString &line : FLines) {
    const std::string_view trimmed = Trimmed(line);
    if (IsVerseHeading(trimmed)) {
      line = kSeparator;
    } else { // in place: most lines need nothing cut
      const std::size_t start = static_cast<std::size_t>(trimmed.data() - line.data());
      line.erase(start + trimmed.size());
      line.erase(0, start);
    }
  }

  if (!FLines.empty() && FLines.front() == kSeparator)
    FLines.erase(FLines.begin());
}
