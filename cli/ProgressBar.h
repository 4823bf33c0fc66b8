#pragma once
// A progress bar for a terminal: one line, redrawn in place.

#include <cstdio>
#include <string>

// "[####################....................]  50% 6/12"; with an unknown row
// count (-1) just "6 Zeilen".
std::string ProgressLine(int row, int rowCount);

class TProgressBar {
public:
  explicit TProgressBar(std::FILE *terminal) : FTerminal(terminal) {}
  // Redraws when the percentage changes (every hundred rows when the count is
  // unknown), so that a large table does not flood the terminal.
  void Show(int row, int rowCount);
  // Clears the line.
  void Finish();

private:
  std::FILE *FTerminal;
  long long FStepShown = -1;
};
