#pragma once
// Small free functions shared by the song writer and the main window.

#include <filesystem>
#include <string>

constexpr int CSIDL_PERSONAL = 5;

// The special folder's path ending in a separator; empty when there is none.
// Only the documents folder is known on this platform.
std::filesystem::path GetSpecialFolderPath(int csidl);
std::filesystem::path GetMyDocumentsPath();

// Cuts Count characters from S starting at the 1-based Index and returns them.
std::string CutString(std::string &s, int index, int count);

// Returns the text before the first Separator and leaves S holding what follows it.
std::string FetchToken(std::string &s, char separator);
