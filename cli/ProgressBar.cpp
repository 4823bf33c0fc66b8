#include "cli/ProgressBar.h"

namespace {

constexpr int kWidth = 40;

long long Percent(int row, int rowCount) { return rowCount <= 0 ? 100 : 100LL * row / rowCount; }

} // namespace

std::string ProgressLine(int row, int rowCount) {
  if (rowCount < 0)
    return std::to_string(row) + " Zeilen";
  const int done = static_cast<int>(Percent(row, rowCount) * kWidth / 100);
  char percent[32];
  std::snprintf(percent, sizeof percent, "] %3lld%% ", Percent(row, rowCount));
  return "[" + std::string(done, '#') + std::string(kWidth - done, '.') + percent + std::to_string(row) + "/" +
         std::to_string(rowCount);
}

void TProgressBar::Show(int row, int rowCount) {
  const long long step = rowCount < 0 ? row / 100 : Percent(row, rowCount);
  if (step == FStepShown)
    return;
  FStepShown = step;
  std::fprintf(FTerminal, "\r%s", ProgressLine(row, rowCount).c_str());
  std::fflush(FTerminal);
}

void TProgressBar::Finish() {
  if (FStepShown < 0)
    return;
  std::fprintf(FTerminal, "\r\033[K");
  std::fflush(FTerminal);
  FStepShown = -1;
}
