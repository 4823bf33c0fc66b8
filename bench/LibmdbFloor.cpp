// libmdb's header includes glib.h inside extern "C", which C++ rejects; with
// glib.h included first that inner include adds nothing.
#include <glib.h>
#include <mdbtools.h>

#include "bench/LibmdbFloor.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct HandleClose {
  void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};

struct TableDefFree {
  void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};

} // namespace

TFloorRead ReadWithLibmdb(const std::filesystem::path &database, const std::string &tableName) {
  const std::unique_ptr<MdbHandle, HandleClose> mdb(mdb_open(database.c_str(), MDB_NOFLAGS));
  if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
    throw std::runtime_error("libmdb cannot open " + database.string());
  std::string name = tableName;
  const std::unique_ptr<MdbTableDef, TableDefFree> table(mdb_read_table_by_name(mdb.get(), name.data(), MDB_TABLE));
  if (!table)
    throw std::runtime_error("libmdb finds no table " + tableName);
  mdb_read_columns(table.get());
  mdb_rewind_table(table.get());

  const unsigned columns = table->num_cols;
  std::vector<char> values(static_cast<std::size_t>(columns) * MDB_BIND_SIZE);
  std::vector<int> lengths(columns);
  for (unsigned i = 0; i < columns; ++i)
    mdb_bind_column(table.get(), static_cast<int>(i + 1), &values[i * MDB_BIND_SIZE], &lengths[i]);

  TFloorRead read;
  while (mdb_fetch_row(table.get())) {
    ++read.Rows;
    for (const int length : lengths)
      read.Bytes += length;
  }
  return read;
}
