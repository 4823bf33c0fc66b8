#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs the program (looked up in PATH unless a path) with the arguments, its
// standard output going to `output` (default: thrown away), waits for it and
// returns its peak resident memory in kilobytes. Throws std::runtime_error
// when it cannot start or does not exit with status 0.
//
// The kernel counts in what the caller holds when it forks the child, so the
// figure is the child's own only when above the caller's peak (SelfPeakKilobytes).
long RunChild(const std::vector<std::string> &command, const std::filesystem::path &output = "/dev/null");

// The peak resident memory of this process so far, in kilobytes.
long SelfPeakKilobytes();
