#include "platform/ado/ConnectionString.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

constexpr std::string_view kDataSource = "data source=";

bool StartsWithKey(std::string_view text, std::string_view lowerKey) {
  return text.size() >= lowerKey.size() &&
         std::equal(lowerKey.begin(), lowerKey.end(), text.begin(),
                    [](char key, char c) { return key == std::tolower(static_cast<unsigned char>(c)); });
}

// Whether `text` (what follows a ";") begins with a key and "=", or is blank:
// the ";" then ends the entry before it.
bool StartsEntry(std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos)
    return true;
  const std::size_t equals = text.find('=');
  return equals != std::string_view::npos && equals > 0 &&
         std::all_of(text.begin(), text.begin() + equals,
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == ' '; });
}

// The "Key=value" entries of a connection string.
std::vector<std::string_view> Entries(std::string_view connectionString) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  for (std::size_t at = connectionString.find(';'); at != std::string_view::npos;
       at = connectionString.find(';', at + 1)) {
    if (StartsEntry(connectionString.substr(at + 1))) {
      entries.push_back(connectionString.substr(start, at - start));
      start = at + 1;
    }
  }
  entries.push_back(connectionString.substr(start));
  return entries;
}

} // namespace

std::string JetConnectionString(const std::filesystem::path &databaseFile) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + databaseFile.string() + ";Persist Security Info=False";
}

std::filesystem::path DataSourceOf(std::string_view connectionString) {
  for (std::string_view entry : Entries(connectionString)) {
    while (!entry.empty() && entry.front() == ' ')
      entry.remove_prefix(1);
    if (StartsWithKey(entry, kDataSource))
      return std::string(entry.substr(kDataSource.size()));
  }
  return {};
}
