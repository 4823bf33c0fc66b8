#pragma once
// Saved queries as Access keeps them: one row of MSysQueries per part (source
// table, output column, condition, ...). Which of them count as views, and the
// SQL that libmdbsql runs for one. All text is UTF-8, as libmdb gives it.

#include <string>
#include <string_view>
#include <vector>

struct TQueryPart {
  int Attribute = 0; // what the row describes: 1 kind, 2 parameter, 5 source, 6 column, ...
  int Flag = 0;
  std::string Name1;
  std::string Name2;
  std::string Expression;
};

// A view is a select query that takes no parameters and is not hidden ("~"
// names). `objectFlags` are the query's flags in MSysObjects, which hold its kind.
bool IsViewQuery(std::string_view name, unsigned long objectFlags, const std::vector<TQueryPart> &parts);

struct TViewSql {
  std::string Sql;      // libmdbsql's dialect; empty when the view cannot run
  std::string Obstacle; // why it cannot run ("it sorts rows", ...), else empty
};

// The SELECT statement of a view over one table. libmdbsql reads one table
// without sorting or grouping, so a view needing more gets an obstacle instead.
TViewSql ViewSql(const std::vector<TQueryPart> &parts);
