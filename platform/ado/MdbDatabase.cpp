// The one file that includes libmdb. Debian's mdbtools.h includes glib.h inside
// extern "C", which C++ rejects; with glib.h included first, that inner include
// finds its guard set and adds nothing.
#include <glib.h>
#include <mdbtools.h>
#include <mdbsql.h>

#include "platform/ado/MdbDatabase.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ado/FieldText.h"
#include "platform/ado/SavedQuery.h"

namespace fs = std::filesystem;

namespace {

// libmdb reports trouble with fprintf(stderr, ...) and perror(), straight to
// the user's terminal, and has no switch to stop it. The GNU C library lets a
// program assign stderr (an ordinary variable there), so each call into libmdb
// runs with it pointed at /dev/null and restores it afterwards: a pointer swap
// per call, where redirecting descriptor 2 would cost two system calls per row.
// Either way assumes that no other thread writes to stderr meanwhile; the data
// layer runs on one thread.
class QuietStderr {
public:
  QuietStderr() : FSaved(stderr) {
    static FILE *const sink = std::fopen("/dev/null", "w");
    if (sink)
      stderr = sink;
  }
  ~QuietStderr() { stderr = FSaved; }
  QuietStderr(const QuietStderr &) = delete;
  QuietStderr &operator=(const QuietStderr &) = delete;

private:
  FILE *FSaved;
};

struct HandleClose {
  void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
using Handle = std::unique_ptr<MdbHandle, HandleClose>;

struct TableDefFree {
  void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TableDef = std::unique_ptr<MdbTableDef, TableDefFree>;

// The handle belongs to the reader, not to the query, which would close it.
// The query's conditions moved to its table, which does not free them.
struct SqlExit {
  void operator()(MdbSQL *sql) const {
    if (sql->cur_table && sql->cur_table->sarg_tree) {
      mdb_sql_free_tree(sql->cur_table->sarg_tree);
      sql->cur_table->sarg_tree = nullptr;
    }
    sql->mdb = nullptr;
    mdb_sql_exit(sql);
  }
};
using Sql = std::unique_ptr<MdbSQL, SqlExit>;

std::string Damaged(std::string_view what, const std::string &fileName) {
  return what.empty() ? "The database " + Quoted(fileName) + " is damaged and cannot be read."
                      : "The table " + Quoted(what) + " in " + Quoted(fileName) + " is damaged and cannot be read.";
}

// Text comes from libmdb in UTF-8 whatever MDBICONV says, and Jet 3 files are
// read in code page 1252 whatever MDB_JET3_CHARSET or the file's header says.
// Jet 4 text is UTF-16, so that a character beyond the BMP is one character.
void ReadTextAsUtf8(MdbHandle *mdb) {
  mdb_iconv_close(mdb);
  const char *stored = IS_JET3(mdb) ? "WINDOWS-1252" : "UTF-16LE";
  mdb->iconv_in = iconv_open("UTF-8", stored);
  mdb->iconv_out = iconv_open(stored, "UTF-8");
}

Handle CloneHandle(MdbHandle *mdb) {
  Handle clone(mdb_clone_handle(mdb));
  ReadTextAsUtf8(clone.get());
  return clone;
}

// Most values are plain ASCII, the same bytes in both encodings; only the rest
// needs a conversion.
AnsiString ToAnsi(std::string utf8) {
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return utf8;
  return Utf8ToAnsi(utf8);
}

bool SameName(std::string_view utf8Name, std::string_view ansiName) {
  return AnsiSameText(ToAnsi(std::string(utf8Name)), ansiName);
}

std::string Taken(char *text) {
  std::string taken = text ? text : "";
  g_free(text);
  return taken;
}

TFieldType FieldTypeOf(const MdbColumn *column) {
  switch (column->col_type) {
  case MDB_BOOL: return TFieldType::ftBoolean;
  case MDB_BYTE:
  case MDB_INT:
  case MDB_LONGINT: return TFieldType::ftInteger;
  case MDB_FLOAT:
  case MDB_DOUBLE: return TFieldType::ftFloat;
  case MDB_MONEY: return TFieldType::ftCurrency;
  case MDB_NUMERIC: return TFieldType::ftBCD;
  case MDB_DATETIME: return TFieldType::ftDateTime;
  case MDB_TEXT: return TFieldType::ftString;
  case MDB_MEMO: return TFieldType::ftMemo;
  case MDB_REPID: return TFieldType::ftGuid;
  case MDB_BINARY: return TFieldType::ftBytes;
  case MDB_OLE: return TFieldType::ftBlob;
  default: return TFieldType::ftUnknown; // attachments and multi-value columns
  }
}

// Raised for a value that a damaged row places outside its page: libmdb takes
// the place from the row as stored and would read past the page.
struct EDamagedRow {};

// The value of a column of the row libmdb has just fetched, in UTF-8 (only the
// text kinds hold anything beyond ASCII). `storedLimit` caps what a corrupt
// length field can make us allocate: no value holds more bytes than the file.
std::string Utf8Value(MdbHandle *mdb, MdbColumn *column, std::size_t storedLimit) {
  const int length = column->cur_value_len;
  if (column->col_type == MDB_BOOL)
    return length ? "False" : "True"; // libmdb passes the null bit, which holds the negation
  if (length == 0)
    return {}; // NULL, or an empty text
  unsigned char *const page = mdb->pg_buf;
  const int start = column->cur_value_start;
  if (start < 0 || length < 0 || start + length > mdb->fmt->pg_size)
    throw EDamagedRow();
  switch (column->col_type) {
  case MDB_BYTE: return std::to_string(mdb_get_byte(page, start));
  case MDB_INT: return std::to_string(static_cast<std::int16_t>(mdb_get_int16(page, start)));
  case MDB_LONGINT: return std::to_string(static_cast<std::int32_t>(mdb_get_int32(page, start)));
  case MDB_FLOAT: return FloatText(mdb_get_single(page, start));
  case MDB_DOUBLE: return FloatText(mdb_get_double(page, start));
  case MDB_DATETIME: return DateTimeText(mdb_get_double(page, start));
  case MDB_MONEY: return Taken(mdb_money_to_string(mdb, start));
  case MDB_NUMERIC: return Taken(mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec));
  case MDB_REPID: return Taken(mdb_uuid_to_string(page, start));
  case MDB_BINARY: return HexText(page + start, static_cast<std::size_t>(length));
  case MDB_TEXT: {
    // At most 255 characters, converted straight from the row into a buffer
    // kept for it: no buffer of libmdb's size allocated and copied per value.
    // A stored byte gives at most three UTF-8 bytes.
    thread_local std::string buffer;
    buffer.resize(3 * static_cast<std::size_t>(length) + 16);
    const int size = mdb_unicode2ascii(mdb, reinterpret_cast<const char *>(page + start),
                                       static_cast<std::size_t>(length), buffer.data(), buffer.size());
    return buffer.substr(0, static_cast<std::size_t>(std::max(size, 0)));
  }
  case MDB_MEMO: {
    // libmdb converts into a buffer of "bind size" bytes and cuts what does not
    // fit. libmdb sizes its own buffers by the bind size too (reading the
    // catalog copies whole pages into them), so it is raised for this one
    // value only, never lowered.
    const std::size_t stored = static_cast<std::size_t>(mdb_get_int32(page, start)) & 0x3FFFFFFF;
    if (stored == 0)
      return {}; // libmdb would hand back its buffer unwritten, without an end
    if (stored > storedLimit)
      throw EDamagedRow(); // no memo is longer than the file
    const std::size_t bindSize = mdb->bind_size;
    mdb_set_bind_size(mdb, std::max(bindSize, 3 * stored + 16));
    std::string text = Taken(mdb_col_to_string(mdb, page, start, column->col_type, length));
    mdb_set_bind_size(mdb, bindSize);
    return text;
  }
  default: return {};
  }
}

AnsiString AnsiValue(MdbHandle *mdb, MdbColumn *column, std::size_t storedLimit) {
  std::string value = Utf8Value(mdb, column, storedLimit);
  const bool text = column->col_type == MDB_TEXT || column->col_type == MDB_MEMO;
  return text ? ToAnsi(std::move(value)) : value;
}

MdbColumn *ColumnAt(MdbTableDef *table, unsigned index) {
  return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
}

// The columns libmdb has read; a damaged definition can announce more in
// num_cols than there are.
unsigned ColumnCount(const MdbTableDef *table) { return table->columns ? table->columns->len : 0; }

MdbColumn *ColumnNamed(MdbTableDef *table, std::string_view name) {
  for (unsigned i = 0; i < ColumnCount(table); ++i)
    if (g_ascii_strcasecmp(ColumnAt(table, i)->name, std::string(name).c_str()) == 0)
      return ColumnAt(table, i);
  return nullptr;
}

MdbCatalogEntry *EntryAt(MdbHandle *mdb, unsigned index) {
  return static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, index));
}

// A usage map (which pages hold the rows) has a type byte and a page number
// at least; libmdb reads them without looking whether it found a map at all.
bool HasUsageMap(const MdbTableDef *table) { return table->usage_map && table->map_sz >= 5; }

TableDef ReadTable(MdbCatalogEntry *entry) {
  TableDef table(mdb_read_table(entry));
  if (!table || !HasUsageMap(table.get()) || !mdb_read_columns(table.get()))
    return nullptr;
  mdb_rewind_table(table.get());
  return table;
}

// mdb_read_catalog without the objects' property blobs (MSysObjects.LvProp):
// nothing here needs them, and libmdb's parser of a damaged blob loops forever
// or reads past its end. The entries are those libmdb would make.
bool ReadCatalog(MdbHandle *mdb, std::size_t storedLimit) {
  mdb_free_catalog(mdb);
  mdb->catalog = g_ptr_array_new();
  mdb->num_catalog = 0;
  MdbCatalogEntry objects{};
  objects.mdb = mdb;
  objects.object_type = MDB_TABLE;
  objects.table_pg = 2; // where every Jet file keeps MSysObjects
  std::strcpy(objects.object_name, "MSysObjects");
  TableDef table = ReadTable(&objects);
  if (!table)
    return false;
  MdbColumn *const id = ColumnNamed(table.get(), "Id");
  MdbColumn *const name = ColumnNamed(table.get(), "Name");
  MdbColumn *const type = ColumnNamed(table.get(), "Type");
  MdbColumn *const flags = ColumnNamed(table.get(), "Flags");
  if (!id || !name || !type || !flags)
    return false;
  const auto number = [mdb, storedLimit](MdbColumn *column) {
    return std::atol(Utf8Value(mdb, column, storedLimit).c_str());
  };
  try {
    while (mdb_fetch_row(table.get())) {
      const std::string objectName = Utf8Value(mdb, name, storedLimit);
      const long objectType = number(type), objectId = number(id), objectFlags = number(flags);
      auto *entry = g_new0(MdbCatalogEntry, 1);
      entry->mdb = mdb;
      objectName.copy(entry->object_name, MDB_MAX_OBJ_NAME);
      entry->object_type = static_cast<int>(objectType & 0x7F);
      entry->table_pg = static_cast<unsigned long>(objectId) & 0x00FFFFFF;
      entry->flags = static_cast<int>(objectFlags);
      g_ptr_array_add(mdb->catalog, entry);
      ++mdb->num_catalog;
    }
  } catch (const EDamagedRow &) {
    return false;
  }
  return true;
}

bool IsUserTable(MdbCatalogEntry *entry) {
  return mdb_is_user_table(entry) && entry->object_name[0] != '~';
}

// The parts of every saved query, by the object id its catalog entry carries.
using QueryParts = std::map<unsigned long, std::vector<TQueryPart>>;

// Raises EDamagedRow rather than leave out a part: a view without one of its
// conditions would select other rows.
QueryParts ReadQueryParts(MdbHandle *mdb, std::size_t storedLimit) {
  QueryParts parts;
  MdbCatalogEntry *queries = mdb_get_catalogentry_by_name(mdb, "MSysQueries");
  TableDef table = queries ? ReadTable(queries) : nullptr;
  if (!table)
    return parts;
  MdbColumn *const objectId = ColumnNamed(table.get(), "ObjectId");
  MdbColumn *const attribute = ColumnNamed(table.get(), "Attribute");
  MdbColumn *const flag = ColumnNamed(table.get(), "Flag");
  MdbColumn *const name1 = ColumnNamed(table.get(), "Name1");
  MdbColumn *const name2 = ColumnNamed(table.get(), "Name2");
  MdbColumn *const expression = ColumnNamed(table.get(), "Expression");
  if (!objectId || !attribute || !flag || !name1 || !name2 || !expression)
    return parts;
  const auto text = [mdb, storedLimit](MdbColumn *column) { return Utf8Value(mdb, column, storedLimit); };
  const auto number = [&text](MdbColumn *column) { return std::atol(text(column).c_str()); };
  while (mdb_fetch_row(table.get())) {
    TQueryPart part;
    part.Attribute = static_cast<int>(number(attribute));
    part.Flag = static_cast<int>(number(flag));
    part.Name1 = text(name1);
    part.Name2 = text(name2);
    part.Expression = text(expression);
    parts[static_cast<unsigned long>(number(objectId)) & 0x00FFFFFF].push_back(std::move(part));
  }
  return parts;
}

const std::vector<TQueryPart> &PartsOf(const QueryParts &parts, const MdbCatalogEntry *entry) {
  static const std::vector<TQueryPart> none;
  const auto found = parts.find(entry->table_pg);
  return found == parts.end() ? none : found->second;
}

void SortByName(std::vector<AnsiString> &names) {
  std::sort(names.begin(), names.end(), [](const AnsiString &a, const AnsiString &b) {
    const AnsiString upperA = AnsiUpperCase(a), upperB = AnsiUpperCase(b);
    return upperA != upperB ? upperA < upperB : a < b;
  });
}

} // namespace

struct TMdbDatabase::Impl {
  Handle mdb;
  std::string fileName;
  std::size_t fileSize = 0;

  QueryParts Queries() const {
    try {
      return ReadQueryParts(mdb.get(), fileSize);
    } catch (const EDamagedRow &) {
      throw EDatabaseError(Damaged({}, fileName));
    }
  }

  bool IsView(MdbCatalogEntry *entry, const QueryParts &queries) const {
    return entry->object_type == MDB_QUERY && IsViewQuery(entry->object_name, static_cast<unsigned long>(entry->flags), PartsOf(queries, entry));
  }

  // The catalog index of the table or view of that name; -1 when there is none.
  int Find(std::string_view name, const QueryParts &queries) const {
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
      MdbCatalogEntry *entry = EntryAt(mdb.get(), i);
      if (SameName(entry->object_name, name) && (IsUserTable(entry) || IsView(entry, queries)))
        return static_cast<int>(i);
    }
    return -1;
  }
};

struct TMdbRows::Impl {
  Handle mdb;                       // this reader's own handle on the file
  TableDef table;                   // the table read, unless a query owns it
  Sql query;                        // the query of a view; owns its table
  MdbTableDef *source = nullptr;    // where the rows come from
  std::vector<MdbColumn *> sourceColumns;
  std::vector<TMdbColumn> columns;
  std::size_t fileSize = 0;
  std::string damaged; // the error for a row that cannot be read

  void AddColumn(MdbColumn *column) {
    sourceColumns.push_back(column);
    columns.push_back({ToAnsi(column->name), FieldTypeOf(column)});
  }
};

TMdbDatabase::TMdbDatabase(const fs::path &fileName) : d(std::make_unique<Impl>()) {
  // Checked here because libmdb tells only its stderr why a file does not open.
  const int descriptor = ::open(fileName.c_str(), O_RDONLY);
  struct stat status {};
  const int error = descriptor < 0 ? errno : fstat(descriptor, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  if (descriptor >= 0)
    ::close(descriptor);
  if (error == ENOENT)
    throw EDatabaseError("Could not find file " + Quoted(fileName.string()) + ".");
  if (error != 0)
    throw EDatabaseError("Cannot open file " + Quoted(fileName.string()) + ": " + std::strerror(error) + ".");
  d->fileName = fileName.string();
  d->fileSize = static_cast<std::size_t>(status.st_size);

  QuietStderr quiet;
  d->mdb.reset(mdb_open(fileName.c_str(), MDB_NOFLAGS));
  if (!d->mdb)
    throw EDatabaseError("Unrecognized database format " + Quoted(fileName.string()) + ".");
  ReadTextAsUtf8(d->mdb.get());
  // Access writes whole pages; a file cut short would lose rows without a word,
  // as libmdb takes a page it cannot read for an empty one.
  if (d->fileSize % static_cast<std::size_t>(d->mdb->fmt->pg_size) != 0)
    throw EDatabaseError(Damaged({}, d->fileName));
  if (!ReadCatalog(d->mdb.get(), d->fileSize))
    throw EDatabaseError("Unrecognized database format " + Quoted(fileName.string()) + ".");
}

TMdbDatabase::~TMdbDatabase() = default;

std::vector<AnsiString> TMdbDatabase::TableNames() const {
  QuietStderr quiet;
  const QueryParts queries = d->Queries();
  std::vector<AnsiString> tables, views;
  for (unsigned i = 0; i < d->mdb->num_catalog; ++i) {
    MdbCatalogEntry *entry = EntryAt(d->mdb.get(), i);
    if (IsUserTable(entry))
      tables.push_back(ToAnsi(entry->object_name));
    else if (d->IsView(entry, queries))
      views.push_back(ToAnsi(entry->object_name));
  }
  SortByName(tables);
  SortByName(views);
  tables.insert(tables.end(), views.begin(), views.end());
  return tables;
}

std::unique_ptr<TMdbRows> TMdbDatabase::OpenRows(std::string_view tableName) const {
  QuietStderr quiet;
  const QueryParts queries = d->Queries();
  const int index = d->Find(tableName, queries);
  if (index < 0)
    throw EDatabaseError("Cannot find the input table or query " + Quoted(AnsiToUtf8(tableName)) +
                         ". Make sure it exists and that its name is spelled correctly.");

  auto rows = std::make_unique<TMdbRows::Impl>();
  rows->mdb = CloneHandle(d->mdb.get());
  rows->fileSize = d->fileSize;
  MdbCatalogEntry *const entry = EntryAt(rows->mdb.get(), index); // the clone keeps the catalog's order
  rows->damaged = Damaged(entry->object_name, d->fileName);
  if (!d->IsView(entry, queries)) {
    rows->table = ReadTable(entry);
    if (!rows->table)
      throw EDatabaseError(rows->damaged);
    rows->source = rows->table.get();
    for (unsigned i = 0; i < ColumnCount(rows->source); ++i)
      rows->AddColumn(ColumnAt(rows->source, i));
    return std::make_unique<TMdbRows>(std::move(rows));
  }

  const std::string cannotRun = "Cannot run the query " + Quoted(entry->object_name);
  const TViewSql view = ViewSql(PartsOf(queries, entry));
  if (view.Sql.empty())
    throw EDatabaseError(cannotRun + ": " + view.Obstacle + ".");
  rows->query.reset(mdb_sql_init());
  rows->query->mdb = rows->mdb.get();
  if (!mdb_sql_run_query(rows->query.get(), view.Sql.c_str()) || !rows->query->cur_table)
    throw EDatabaseError(cannotRun + " (" + view.Sql + "): " + mdb_sql_last_error(rows->query.get()) + ".");
  rows->source = rows->query->cur_table;
  // libmdbsql binds every column to a buffer of its own, which would cut memos;
  // values are read from the row instead, as for a table.
  for (unsigned i = 0; i < ColumnCount(rows->source); ++i) {
    ColumnAt(rows->source, i)->bind_ptr = nullptr;
    ColumnAt(rows->source, i)->len_ptr = nullptr;
  }
  for (unsigned i = 0; i < rows->query->num_columns; ++i) {
    const auto *selected = static_cast<MdbSQLColumn *>(g_ptr_array_index(rows->query->columns, i));
    if (MdbColumn *column = ColumnNamed(rows->source, selected->name))
      rows->AddColumn(column);
  }
  return std::make_unique<TMdbRows>(std::move(rows));
}

TMdbRows::TMdbRows(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

TMdbRows::~TMdbRows() = default;

const std::vector<TMdbColumn> &TMdbRows::Columns() const { return d->columns; }

int TMdbRows::RowCount() const { return d->query ? -1 : static_cast<int>(d->source->num_rows); }

bool TMdbRows::Next() {
  QuietStderr quiet;
  return d->query ? mdb_sql_fetch_row(d->query.get(), d->source) : mdb_fetch_row(d->source);
}

AnsiString TMdbRows::Value(int column) const {
  QuietStderr quiet;
  try {
    return AnsiValue(d->mdb.get(), d->sourceColumns.at(column), d->fileSize);
  } catch (const EDamagedRow &) {
    throw EDatabaseError(d->damaged);
  }
}
