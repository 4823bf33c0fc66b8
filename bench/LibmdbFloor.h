#pragma once
// The read floor: the table read with libmdb alone, as fast as the library
// goes, with none of the data layer's work on top.

#include <filesystem>
#include <string>

struct TFloorRead {
  long Rows = 0;
  long long Bytes = 0; // the text libmdb handed over, so that nothing is optimised away
};

// Binds every column of the table, fetches every row. Throws std::runtime_error
// when the file or the table cannot be read.
TFloorRead ReadWithLibmdb(const std::filesystem::path &database, const std::string &tableName);
