// The shell's auto-complete object and its sources behind a TACEdit, typed into.

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

#include "controls/TACEdit.h"
#include "platform/shell/ShellAutoComplete.h"
#include "tests/QtPrinters.h"
#include "tests/TempDir.h"

namespace {

class ShellAutoCompleteTest : public testing::Test {
protected:
  static void SetUpTestSuite() { RegisterShellAutoComplete(); }
};

// The entries the drop-down shows; none while it is hidden.
QStringList Suggestions(TACEdit &edit) {
  const auto *completer = edit.findChild<QCompleter *>();
  if (!completer || !completer->popup()->isVisible())
    return {};
  QStringList shown;
  const QAbstractItemModel *model = completer->popup()->model();
  for (int row = 0; row < model->rowCount(); ++row)
    shown.append(model->index(row, 0).data().toString());
  return shown;
}

void FillFruit(TACEdit &edit) {
  for (const char *fruit : {"Apfel", "Banane", "Birne", "Brombeere"})
    edit.ACList().Add(fruit);
}

struct TypingCase {
  const char *name;
  TACOptions options;
  const char *typed;
  QString text;
  QString selected;
  QStringList suggestions;

  friend void PrintTo(const TypingCase &c, std::ostream *os) { *os << c.name; }
};

class TypingCases : public ShellAutoCompleteTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(TypingCases, CompleteFromTheEditsOwnList) {
  const TypingCase &c = GetParam();
  TACEdit edit;
  FillFruit(edit);
  edit.SetACOptions(c.options);
  edit.show();
  QTest::keyClicks(&edit, c.typed);
  EXPECT_EQ(edit.text(), c.text);
  EXPECT_EQ(edit.selectedText(), c.selected);
  EXPECT_EQ(Suggestions(edit), c.suggestions);
}

const TACOptions All{acAutoAppend, acAutoSuggest, acUseArrowKey};

INSTANTIATE_TEST_SUITE_P(Cases, TypingCases, testing::Values(
  TypingCase{"Suggests", TACOptions{acAutoSuggest, acUseArrowKey}, "b", "b", "", {"Banane", "Birne", "Brombeere"}},
  TypingCase{"WithoutRegardToCase", TACOptions{acAutoSuggest}, "BI", "BI", "", {"Birne"}},
  TypingCase{"NoMatch", TACOptions{acAutoSuggest}, "x", "x", "", {}},
  TypingCase{"AppendsInline", TACOptions{acAutoAppend}, "bi", "Birne", "rne", {}},
  TypingCase{"SuggestsAndAppends", All, "br", "Brombeere", "ombeere", {"Brombeere"}},
  TypingCase{"NothingWithoutOptions", TACOptions{}, "b", "b", "", {}}),
  [](const auto &info) { return std::string(info.param.name); });

TEST_F(ShellAutoCompleteTest, TheArrowKeysOpenTheListOnlyWhenAsked) {
  for (const bool arrows : {true, false}) {
    TACEdit edit;
    FillFruit(edit);
    edit.SetACOptions(arrows ? TACOptions{acAutoSuggest, acUseArrowKey} : TACOptions{acAutoSuggest});
    edit.show();
    QTest::keyClick(&edit, Qt::Key_Down);
    const QStringList all{"Apfel", "Banane", "Birne", "Brombeere"};
    EXPECT_EQ(Suggestions(edit), arrows ? all : QStringList{}) << "arrows " << arrows;
  }
}

TEST_F(ShellAutoCompleteTest, ChoosingASuggestionPutsItIntoTheEdit) {
  TACEdit edit;
  FillFruit(edit);
  edit.show();
  QTest::keyClicks(&edit, "bi");
  QAbstractItemView *popup = edit.findChild<QCompleter *>()->popup();
  QTest::keyClick(popup, Qt::Key_Down);
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "Birne");
  EXPECT_EQ(Suggestions(edit), QStringList{});
}

TEST_F(ShellAutoCompleteTest, DisabledCompletionOffersNothingUntilEnabledAgain) {
  TACEdit edit;
  FillFruit(edit);
  edit.show();
  QTest::keyClicks(&edit, "b");
  edit.SetACEnabled(false);
  EXPECT_EQ(Suggestions(edit), QStringList{});
  QTest::keyClicks(&edit, "i");
  EXPECT_EQ(Suggestions(edit), QStringList{});
  edit.SetACEnabled(true);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(Suggestions(edit), (QStringList{"Banane", "Birne", "Brombeere"}));
}

TEST_F(ShellAutoCompleteTest, DeleteRemovesTheSelectedSuggestionAndTheListShowsIt) {
  TACEdit edit;
  FillFruit(edit);
  edit.show();
  QTest::keyClicks(&edit, "b");
  QAbstractItemView *popup = edit.findChild<QCompleter *>()->popup();
  popup->setCurrentIndex(popup->model()->index(1, 0));
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.ACList().ToStringList(), (QStringList{"Apfel", "Banane", "Brombeere"}));
  EXPECT_EQ(Suggestions(edit), (QStringList{"Banane", "Brombeere"}));
}

TEST_F(ShellAutoCompleteTest, ATextAddedOnExitIsOfferedNextTime) {
  TACEdit edit;
  FillFruit(edit);
  edit.show();
  QTest::keyClicks(&edit, "Kirsche");
  QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&edit, &focusOut);
  edit.clear();
  QTest::keyClicks(&edit, "k");
  EXPECT_EQ(Suggestions(edit), QStringList{"Kirsche"});
}

class ShellSourceTest : public ShellAutoCompleteTest {
protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.path() / "Alpha");
    std::filesystem::create_directory(dir.path() / "beta");
    std::filesystem::create_directory(dir.path() / ".hidden");
    std::ofstream(dir.path() / "alpine.txt") << "x";
    edit.SetACSource(acsShell);
    edit.show();
  }

  QString Path(const char *name) const { return QString::fromStdString((dir.path() / name).string()); }

  TempDir dir;
  TACEdit edit;
};

struct PathCase {
  const char *name;
  const char *typed; // after the temporary directory and "/"
  std::vector<const char *> suggestions;

  friend void PrintTo(const PathCase &c, std::ostream *os) { *os << c.name; }
};

class PathCases : public ShellSourceTest, public testing::WithParamInterface<PathCase> {};

TEST_P(PathCases, CompleteFromTheFolderTyped) {
  QTest::keyClicks(&edit, Path(GetParam().typed));
  QStringList expected;
  for (const char *entry : GetParam().suggestions)
    expected.append(Path(entry));
  EXPECT_EQ(Suggestions(edit), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PathCases, testing::Values(
  PathCase{"WholeFolder", "", {"Alpha/", "alpine.txt", "beta/"}},
  PathCase{"ByPrefix", "al", {"Alpha/", "alpine.txt"}},
  PathCase{"InnerFolder", "beta/", {}},
  PathCase{"HiddenEntries", ".h", {}},
  PathCase{"NoFolder", "gamma/x", {}}),
  [](const auto &info) { return std::string(info.param.name); });

TEST_F(ShellSourceTest, AppendsTheRestOfAFolderInline) {
  edit.SetACOptions(TACOptions{acAutoAppend});
  QTest::keyClicks(&edit, Path("be"));
  EXPECT_EQ(edit.text(), Path("beta/"));
  EXPECT_EQ(edit.selectedText(), "ta/");
}

TEST_F(ShellSourceTest, OffersTheFoldersOfTheRoot) {
  QTest::keyClicks(&edit, "/us");
  EXPECT_TRUE(Suggestions(edit).contains("/usr/"));
}

} // namespace
