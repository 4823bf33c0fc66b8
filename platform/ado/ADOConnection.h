#pragma once
// TADOConnection: the connection to one Access file, opened read-only when
// first used; it lists the file's tables and views and opens them for TADOTable.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/IsolatedDatabase.h"
#include "util/Ansi.h"

class TADOConnection {
public:
  TADOConnection();
  ~TADOConnection();
  TADOConnection(const TADOConnection &) = delete;
  TADOConnection &operator=(const TADOConnection &) = delete;

  // Kept for the next open; an open connection closes first.
  void SetConnectionString(std::string_view connectionString);
  const std::string &ConnectionString() const { return FConnectionString; }

  // Opens the file of the connection string's "Data Source=" read-only; nothing
  // when already open. Raises EDatabaseError naming the file when it cannot.
  void Open();
  void Close();
  bool Connected() const { return FDatabase != nullptr; }

  // Replaces the list's content by the names of the tables, then the views,
  // each sorted by name (system tables never); opens the connection if closed.
  void GetTableNames(std::vector<AnsiString> &list);

  // The open file, opening the connection if closed.
  const TIsolatedDatabase &Database();

private:
  std::string FConnectionString;
  std::unique_ptr<TIsolatedDatabase> FDatabase;
};
