#pragma once
// The song file names one import run has written, so that no song of the run
// replaces another: a name already taken gets " (2)", " (3)", ... before
// ".sng", the smallest number from 2 that is still free. Names are compared as
// Windows compares them (letter case ignored in Windows-1252), so that the run
// writes the same set of files there.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "util/Ansi.h"

class TRunFileNames {
public:
  // The suffix that makes the song's file name free in this run; "" when it is.
  AnsiString FreeSuffix(std::string_view fileTitle);
  void Add(std::string_view fileTitle, std::string_view suffix);

private:
  std::unordered_set<std::string> FWritten;
  std::unordered_map<std::string, int> FNextNumber;
};
