#include "platform/ado/IsolatedDatabase.h"

#include <charconv>

namespace fs = std::filesystem;

namespace {

// A reader that shows no progress for this long is taken to hang: reading one
// row, or the catalog, takes milliseconds even for large files.
constexpr std::chrono::seconds kReaderTimeout{5};

// What a reader may allocate: whole values of the file, several times over as
// they are converted, and libmdb's own buffers besides.
std::size_t MemoryAllowance(const fs::path &fileName) {
  std::error_code unknown;
  const std::uintmax_t size = fs::file_size(fileName, unknown);
  return (std::size_t{1} << 30) + 8 * static_cast<std::size_t>(unknown ? 0 : size);
}

int Number(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The first message of a rows reader: the row count, then each column's name
// and kind.
TReaderMessage RowsHeader(const TMdbRows &rows) {
  TReaderMessage header{std::to_string(rows.RowCount())};
  for (const TMdbColumn &column : rows.Columns()) {
    header.push_back(column.Name);
    header.push_back(std::to_string(static_cast<int>(column.DataType)));
  }
  return header;
}

void SendRows(const fs::path &fileName, const AnsiString &tableName, TReaderChannel &channel) {
  const TMdbDatabase database(fileName);
  const std::unique_ptr<TMdbRows> rows = database.OpenRows(tableName);
  channel.Send(RowsHeader(*rows));
  const int columns = static_cast<int>(rows->Columns().size());
  TReaderMessage row(static_cast<std::size_t>(columns));
  while (rows->Next()) {
    for (int i = 0; i < columns; ++i)
      row[static_cast<std::size_t>(i)] = rows->Value(i);
    channel.Send(row);
  }
}

} // namespace

TIsolatedDatabase::TIsolatedDatabase(const fs::path &fileName) : FFileName(fileName) {
  TReaderProcess reader(Quoted(fileName.string()), MemoryAllowance(fileName),
                        [&fileName](TReaderChannel &channel) { channel.Send(TMdbDatabase(fileName).TableNames()); },
                        kReaderTimeout);
  if (std::optional<TReaderMessage> names = reader.Receive())
    FTableNames = std::move(*names);
}

std::unique_ptr<TIsolatedRows> TIsolatedDatabase::OpenRows(std::string_view tableName) const {
  return std::make_unique<TIsolatedRows>(FFileName, tableName);
}

TIsolatedRows::TIsolatedRows(const fs::path &fileName, std::string_view tableName)
    : FReader("the table " + Quoted(AnsiToUtf8(tableName)) + " in " + Quoted(fileName.string()),
              MemoryAllowance(fileName),
              [&fileName, table = AnsiString(tableName)](TReaderChannel &channel) {
                SendRows(fileName, table, channel);
              },
              kReaderTimeout) {
  const std::optional<TReaderMessage> header = FReader.Receive();
  if (!header || header->empty())
    throw EDatabaseError("Cannot read the table " + Quoted(AnsiToUtf8(tableName)) + ".");
  FRowCount = Number(header->front());
  for (std::size_t i = 1; i + 1 < header->size(); i += 2)
    FColumns.push_back({(*header)[i], static_cast<TFieldType>(Number((*header)[i + 1]))});
}

bool TIsolatedRows::Next() { return FReader.Receive(FRow); }
