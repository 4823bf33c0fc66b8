#include "platform/ado/ADOConnection.h"

#include "platform/ado/ConnectionString.h"

TADOConnection::TADOConnection() = default;

TADOConnection::~TADOConnection() = default;

void TADOConnection::SetConnectionString(std::string_view connectionString) {
  Close();
  FConnectionString = connectionString;
}

void TADOConnection::Open() {
  if (FDatabase)
    return;
  const std::filesystem::path fileName = DataSourceOf(FConnectionString);
  if (fileName.empty())
    throw EDatabaseError("The connection string names no database file (\"Data Source=\").");
  FDatabase = std::make_unique<TIsolatedDatabase>(fileName);
}

void TADOConnection::Close() { FDatabase.reset(); }

void TADOConnection::GetTableNames(std::vector<AnsiString> &list) {
  list = Database().TableNames();
}

const TIsolatedDatabase &TADOConnection::Database() {
  Open();
  return *FDatabase;
}
