#include "platform/ado/ConnectionString.h"

#include <gtest/gtest.h>

TEST(ConnectionString, JoinsTheThreePiecesWithTheFileUnquoted) {
  EXPECT_EQ(JetConnectionString("/home/anna/Meine Lieder.mdb"),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/anna/Meine Lieder.mdb;Persist Security Info=False");
}

struct DataSourceCase {
  const char *connectionString;
  const char *file;
};

void PrintTo(const DataSourceCase &c, std::ostream *out) { *out << c.connectionString; }

class DataSource : public testing::TestWithParam<DataSourceCase> {};

TEST_P(DataSource, IsTheValueOfItsEntry) {
  EXPECT_EQ(DataSourceOf(GetParam().connectionString).string(), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataSource, testing::Values(
  DataSourceCase{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a/b c.mdb;Persist Security Info=False", "/a/b c.mdb"},
  DataSourceCase{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a/x;y.mdb;Persist Security Info=False", "/a/x;y.mdb"},
  DataSourceCase{"data source=/a/b.mdb", "/a/b.mdb"},
  DataSourceCase{"Provider=X; Data Source=/a/b.mdb;", "/a/b.mdb"},
  DataSourceCase{"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False", ""},
  DataSourceCase{"", ""}));
