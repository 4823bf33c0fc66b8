#include "platform/ado/SavedQuery.h"

#include <gtest/gtest.h>

using Parts = std::vector<TQueryPart>;

namespace {

TQueryPart Source(std::string table, std::string alias = {}) { return {5, 0, std::move(table), std::move(alias), {}}; }
TQueryPart Column(std::string expression, std::string alias = {}) { return {6, 0, std::move(alias), {}, std::move(expression)}; }
TQueryPart Condition(std::string expression) { return {8, 0, {}, {}, std::move(expression)}; }
TQueryPart Predicate(int flag, std::string top = {}) { return {3, flag, std::move(top), {}, {}}; }

} // namespace

TEST(SavedQuery, AViewIsAVisibleSelectQueryWithoutParameters) {
  const Parts plain = {Source("Lieder"), Column("Lieder.Titel")};
  EXPECT_TRUE(IsViewQuery("Alle Lieder", 0, plain));
  EXPECT_TRUE(IsViewQuery("Alle Lieder", 0x08, plain));         // a flag outside the kind
  EXPECT_FALSE(IsViewQuery("~sq_cForm", 0, plain));             // hidden
  EXPECT_FALSE(IsViewQuery("Kreuztabelle", 0x10, plain));       // crosstab
  EXPECT_FALSE(IsViewQuery("Aktualisieren", 0x30, plain));      // an action query
  EXPECT_FALSE(IsViewQuery("Vereinigung", 0x80, plain));        // union
  Parts withParameter = plain;
  withParameter.push_back({2, 8, "Welcher Titel?", {}, {}});
  EXPECT_FALSE(IsViewQuery("Nach Titel", 0, withParameter));
}

struct SqlCase {
  const char *name;
  Parts parts;
  const char *sql;
  const char *obstacle;
};

void PrintTo(const SqlCase &c, std::ostream *out) { *out << c.name; }

class ViewStatement : public testing::TestWithParam<SqlCase> {};

TEST_P(ViewStatement, IsWhatLibmdbsqlCanRunOrSaysWhyNot) {
  const TViewSql view = ViewSql(GetParam().parts);
  EXPECT_EQ(view.Sql, GetParam().sql);
  EXPECT_EQ(view.Obstacle, GetParam().obstacle);
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewStatement, testing::Values(
  SqlCase{"Columns", {Source("Lieder"), Column("Lieder.Titel"), Column("[Lieder].[Liedtext]")},
          "SELECT Titel, [Liedtext] FROM [Lieder]", ""},
  SqlCase{"AllColumns", {Predicate(1), Source("Lieder")}, "SELECT * FROM [Lieder]", ""},
  SqlCase{"Alias", {Source("Lieder Neu", "L"), Column("L.Titel", "Name")},
          "SELECT Titel AS [Name] FROM [Lieder Neu]", ""},
  SqlCase{"Top", {Predicate(0x10, "5"), Source("Lieder"), Column("Lieder.Titel")},
          "SELECT TOP 5 Titel FROM [Lieder]", ""},
  SqlCase{"Condition", {Source("Lieder"), Column("Lieder.Titel"),
                        Condition("(((Lieder.Titel)=\"Lobe \"\"den\"\" Herren\") AND ((Lieder.CCLI)>100))")},
          "SELECT Titel FROM [Lieder] WHERE Titel='Lobe \"den\" Herren' AND CCLI>100", ""},
  SqlCase{"TextKeepsItsParentheses", {Source("Lieder"), Column("Lieder.Titel"), Condition("((Lieder.Titel)=\"Gott (Vater)\")")},
          "SELECT Titel FROM [Lieder] WHERE Titel='Gott (Vater)'", ""},
  SqlCase{"LikeWildcards", {Source("Lieder"), Column("Lieder.Titel"), Condition("((Lieder.Titel) Like \"Lob?*\"))")},
          "SELECT Titel FROM [Lieder] WHERE Titel Like 'Lob_%'", ""},
  SqlCase{"SingleQuoteInText", {Source("Lieder"), Column("Lieder.Titel"), Condition("((Lieder.Titel)=\"O'Neil\")")},
          "SELECT Titel FROM [Lieder] WHERE Titel='O''Neil'", ""},
  SqlCase{"Join", {Source("Lieder"), Source("Autoren"), {7, 1, "Lieder", "Autoren", "Lieder.ID = Autoren.ID"}},
          "", "it reads more than one table"},
  SqlCase{"Subquery", {{5, 0, {}, "X", "SELECT * FROM Lieder"}}, "", "it reads more than one table"},
  SqlCase{"Sorted", {Source("Lieder"), Column("Lieder.Titel"), {11, 0, {}, {}, "Lieder.Titel"}}, "", "it sorts rows"},
  SqlCase{"Grouped", {Source("Lieder"), {9, 0, {}, {}, "Lieder.Tonart"}}, "", "it groups rows"},
  SqlCase{"Distinct", {Predicate(0x02), Source("Lieder"), Column("Lieder.Tonart")}, "", "it leaves out repeated rows"},
  SqlCase{"MixedAndOr", {Source("Lieder"), Condition("((Lieder.A)=1) OR ((Lieder.B)=2 AND (Lieder.C)=3)")},
          "", "its condition mixes And with Or"},
  SqlCase{"Function", {Source("Lieder"), Condition("((Len(Lieder.Titel))>3)")}, "", "its condition calls a function"}),
  [](const testing::TestParamInfo<SqlCase> &info) { return std::string(info.param.name); });
