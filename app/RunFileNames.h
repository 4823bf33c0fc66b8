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
  // Takes the song's file name for a file about to be written: returns the
  // suffix that makes it free in this run ("" when it is) and counts it as taken.
  AnsiString Claim(std::string_view fileTitle);

private:
  std::unordered_set<std::string> FWritten;
  std::unordered_map<std::string, int> FNextNumber;
};
