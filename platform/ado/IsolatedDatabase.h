#pragma once
// The Access file read as TMdbDatabase reads it, but by reader processes
// (ReaderProcess.h): libmdb crashes or loops forever on some damaged files, and
// then only the reader goes, while the caller gets an EDatabaseError naming the
// file. Opening lists the tables and views at once; each table opened streams
// its rows from a reader of its own, so memory does not grow with the table.

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/ado/MdbDatabase.h"
#include "platform/ado/ReaderProcess.h"

class TIsolatedRows;

class TIsolatedDatabase {
public:
  // Opens the file and reads its table names. Raises EDatabaseError naming the
  // file when it is missing, unreadable, not an Access database or damaged.
  explicit TIsolatedDatabase(const std::filesystem::path &fileName);

  const std::vector<AnsiString> &TableNames() const { return FTableNames; }
  std::unique_ptr<TIsolatedRows> OpenRows(std::string_view tableName) const;

private:
  std::filesystem::path FFileName;
  std::vector<AnsiString> FTableNames;
};

// A forward-only reader, as TMdbRows.
class TIsolatedRows {
public:
  TIsolatedRows(const std::filesystem::path &fileName, std::string_view tableName);

  const std::vector<TMdbColumn> &Columns() const { return FColumns; }
  int RowCount() const { return FRowCount; }
  bool Next();
  const AnsiString &Value(int column) const { return FRow.at(static_cast<std::size_t>(column)); }

private:
  TReaderProcess FReader;
  std::vector<TMdbColumn> FColumns;
  int FRowCount = -1;
  TReaderMessage FRow;
};
