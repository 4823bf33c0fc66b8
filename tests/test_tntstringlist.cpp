#include <QLocale>
#include <gtest/gtest.h>

#include "controls/TTntStringList.h"
#include "tests/QtPrinters.h"

namespace {

QStringList ListOf(std::initializer_list<const char16_t *> strings) {
  QStringList list;
  for (const char16_t *s : strings)
    list.append(QString::fromUtf16(s));
  return list;
}

struct AddCase {
  const char *name;
  QLocale::Language language;
  QStringList added;
  QStringList expected;

  friend void PrintTo(const AddCase &c, std::ostream *os) { *os << c.name; }
};

class AddCases : public testing::TestWithParam<AddCase> {
protected:
  void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_P(AddCases, KeepsTheListSortedWithoutDuplicates) {
  QLocale::setDefault(QLocale(GetParam().language));
  TTntStringList list;
  for (const QString &s : GetParam().added)
    list.Add(s);
  EXPECT_EQ(list.ToStringList(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddCases, testing::Values(
  AddCase{"SortedWithoutRegardToCase", QLocale::C, ListOf({u"birne", u"Apfel", u"banane"}),
          ListOf({u"Apfel", u"banane", u"birne"})},
  AddCase{"EqualInOtherCaseIsIgnored", QLocale::C, ListOf({u"Apfel", u"APFEL", u"apfel "}),
          ListOf({u"Apfel", u"apfel "})},
  AddCase{"ByTheUsersLocale", QLocale::German, ListOf({u"Zebra", u"Äpfel", u"Apfel", u"äpfel", u"Banane"}),
          ListOf({u"Apfel", u"Äpfel", u"Banane", u"Zebra"})},
  AddCase{"EmptyStringsOnce", QLocale::C, ListOf({u"", u"a", u""}), ListOf({u"", u"a"})}),
  [](const auto &info) { return std::string(info.param.name); });

TEST(TTntStringList, FindsWithoutRegardToCaseOrGivesThePlace) {
  TTntStringList list;
  for (const char *s : {"Apfel", "Birne", "Kirsche"})
    list.Add(QString::fromLatin1(s));
  int index = -1;
  EXPECT_TRUE(list.Find(QStringLiteral("birne"), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(QStringLiteral("Dattel"), index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(QStringLiteral("Zitrone"), index));
  EXPECT_EQ(index, 3);
}

TEST(TTntStringList, DeletesAndRefusesIndicesOutsideTheList) {
  TTntStringList list;
  list.Add(QStringLiteral("a"));
  list.Add(QStringLiteral("b"));
  list.Delete(0);
  EXPECT_EQ(list.ToStringList(), QStringList{QStringLiteral("b")});
  EXPECT_THROW(list.Delete(1), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
  EXPECT_THROW(list.Strings(1), std::out_of_range);
  EXPECT_EQ(list.Strings(0), u"b");
}

TEST(TTntStringList, AssignCopiesSortedWithoutDuplicates) {
  const TStringArray source({u"b", u"A", u"a", u"C"});
  TTntStringList list;
  list.Add(QStringLiteral("old"));
  list.Assign(source);
  EXPECT_EQ(list.ToStringList(), ListOf({u"A", u"b", u"C"}));
  list.Assign(list);
  EXPECT_EQ(list.ToStringList(), ListOf({u"A", u"b", u"C"}));
}

} // namespace
