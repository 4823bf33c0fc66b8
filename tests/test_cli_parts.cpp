#include "cli/ProgressBar.h"
#include "cli/SongFieldNames.h"

#include <gtest/gtest.h>

TEST(ColumnMapping, NamesOneOfTheFourteenFieldsAndAColumn) {
  const auto title = ParseColumnMapping("title=Titel=alt");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->Field, sfTitle);
  EXPECT_EQ(title->Column, "Titel=alt"); // everything after the first "="
  const auto text = ParseColumnMapping("text=");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Field, sfText);
  EXPECT_EQ(text->Column, "");
  EXPECT_FALSE(ParseColumnMapping("Title=Titel")); // field names are lower case
  EXPECT_FALSE(ParseColumnMapping("title"));
  EXPECT_FALSE(ParseColumnMapping("=Titel"));
}

TEST(ColumnMapping, EveryFieldHasANameThatReadsBack) {
  for (int field = 0; field < kSongFieldCount; ++field)
    EXPECT_EQ(SongFieldNamed(SongFieldName(static_cast<TSongField>(field))), static_cast<TSongField>(field));
  EXPECT_EQ(SongFieldName(sfQuickFind), "quickfind");
  EXPECT_EQ(SongFieldNameList().substr(0, 25), "text, title, otitle, auth");
}

TEST(ProgressBar, ShowsTheShareDoneAndTheRows) {
  EXPECT_EQ(ProgressLine(6, 12), "[" + std::string(20, '#') + std::string(20, '.') + "]  50% 6/12");
  EXPECT_EQ(ProgressLine(0, 3), "[" + std::string(40, '.') + "]   0% 0/3");
  EXPECT_EQ(ProgressLine(3, 3), "[" + std::string(40, '#') + "] 100% 3/3");
  EXPECT_EQ(ProgressLine(20000, 20000).substr(42), " 100% 20000/20000");
  EXPECT_EQ(ProgressLine(7, -1), "7 Zeilen"); // a view: the count is not known
}
