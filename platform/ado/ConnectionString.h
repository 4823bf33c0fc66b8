#pragma once
// The connection string that names the database file, in the provider's format.

#include <filesystem>
#include <string>
#include <string_view>

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<file>;Persist Security Info=False",
// the file exactly as given: no quotes, no escaping.
std::string JetConnectionString(const std::filesystem::path &databaseFile);

// The file of the "Data Source=" entry (key letter case ignored); empty when
// there is none. The value runs to the ";" that starts the next "Key=" entry, so
// a file name may hold ";" as long as no "=" follows it.
std::filesystem::path DataSourceOf(std::string_view connectionString);
