#pragma once
// The Access file as libmdb reads it, in the terms the data set needs: the names
// of its tables and views, and the rows of one of them with each value as text.
// Nothing of libmdb shows here; MdbDatabase.cpp is the one place that talks to it.

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/ado/DB.h"
#include "util/Ansi.h"

class TMdbRows;

class TMdbDatabase {
public:
  // Opens the file read-only. Raises EDatabaseError naming the file when it is
  // missing, unreadable or not an Access database.
  explicit TMdbDatabase(const std::filesystem::path &fileName);
  ~TMdbDatabase();
  TMdbDatabase(const TMdbDatabase &) = delete;
  TMdbDatabase &operator=(const TMdbDatabase &) = delete;

  // The user tables, then the views (saved select queries without parameters),
  // each sorted by name; no system, hidden ("~") or linked tables.
  std::vector<AnsiString> TableNames() const;

  // The rows of the table or view of that name (letter case ignored), read
  // from its first row on. Raises EDatabaseError naming the table when there is
  // none of that name, and naming the view when libmdbsql cannot run it.
  std::unique_ptr<TMdbRows> OpenRows(std::string_view tableName) const;

private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

struct TMdbColumn {
  AnsiString Name;
  TFieldType DataType;
};

// A forward-only reader; it keeps its own handle on the file, so it stays
// readable when the database object that opened it is gone.
class TMdbRows {
public:
  struct Impl;
  explicit TMdbRows(std::unique_ptr<Impl> impl);
  ~TMdbRows();
  TMdbRows(const TMdbRows &) = delete;
  TMdbRows &operator=(const TMdbRows &) = delete;

  const std::vector<TMdbColumn> &Columns() const;

  // How many rows a table holds; -1 for a view, whose count is known only once read.
  int RowCount() const;

  // Moves to the next row (the first one on the first call); false past the last.
  bool Next();

  // The value of a column of the current row as Windows-1252 text (see DB.h).
  AnsiString Value(int column) const;

private:
  std::unique_ptr<Impl> d;
};
