#pragma once
// The song file names one import run has written, so that no song of the run
// replaces another: a name already taken gets " (2)", " (3)", ... before
// ".sng", the smallest number from 2 that is still free. Names are compared as
// Windows compares them (letter case ignored in Windows-1252), so that the run
// writes the same set of files there.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/Ansi.h"

class TRunFileNames {
public:
  // Takes the song's file name for a file about to be written: returns the
  // suffix that makes it free in this run ("" when it is) and counts it as taken.
  AnsiString Claim(std::string_view fileTitle);

private:
  // Adds the name; false when it was taken.
  bool Take(std::string_view name);
  std::string_view NameAt(std::uint32_t slot) const;
  void Grow();

  // A run keeps every name until it ends, so they are stored tightly: each
  // name once, behind its two length bytes, in blocks of 64 KiB (SongFileStem
  // keeps names far shorter), and a table of where they start (open addressing;
  // 0 is a free slot, else the place + 1). A string and a hash node per name
  // would take three times the memory.
  std::vector<std::string> FBlocks;
  std::vector<std::uint32_t> FSlots;
  std::size_t FCount = 0;
  std::unordered_map<std::string, int> FNextNumber; // only for names taken more than once
};
