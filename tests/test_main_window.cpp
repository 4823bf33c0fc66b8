#include "app/MainUnit.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/com/ComRuntime.h"
#include "platform/shell/ShellAutoComplete.h"
#include "tests/QtPrinters.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"
#include "tests/WindowTestMain.h"

namespace fs = std::filesystem;

namespace {

const fs::path kLieder = fs::path(TABULIFT_FIXTURES) / "lieder.mdb";

// Song field by chooser, in the order of the form's tab order.
const QStringList kChoosers = {"SongMemoCombo", "TitleCombo",    "OTitleCombo",   "TextCombo",
                               "MusicCombo",    "TranslationCombo", "CopyrightCombo", "NatCopyCombo",
                               "KeywordsCombo", "KeyCombo",      "BibleCombo",    "SongbookCombo",
                               "CCLICombo",     "QuickfindCombo"};

class MainWindow : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    RegisterShellAutoComplete();
    FOldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    fs::create_directory(home.path() / "Documents");
    ShownErrors().clear();
    form = std::make_unique<TForm1>();
    form->siOpenDialog1 = [this](QWidget *) {
      ++dialogsShown;
      return chosenDatabase;
    };
  }
  void TearDown() override {
    form.reset();
    setenv("HOME", FOldHome.c_str(), 1);
    CoUninitialize();
  }

  template <typename T = QWidget> T *Find(const QString &name) const {
    T *widget = form->findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QComboBox *Chooser(const QString &name) const { return Find<QComboBox>(name); }
  QLineEdit *Edit() const { return Find<QLineEdit>("ACEdit1"); }
  QPushButton *GoBtn() const { return Find<QPushButton>("GoBtn"); }

  QStringList Items(const QComboBox *combo) const {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
      items << combo->itemText(i);
    return items;
  }

  void OpenTable(const QString &table) {
    chosenDatabase = kLieder;
    form->dxBarButton1Click();
    Find<QComboBox>("TableNamesCombo")->setCurrentText(table);
  }

  // What the choosers show, in tab order; "" where none is selected.
  QStringList Presets() const {
    QStringList shown;
    for (const QString &name : kChoosers)
      shown << Chooser(name)->currentText();
    return shown;
  }

  TempDir home;
  std::unique_ptr<TForm1> form;
  std::optional<fs::path> chosenDatabase;
  int dialogsShown = 0;

private:
  std::string FOldHome;
};

TEST_F(MainWindow, StartsWithTheDocumentsFolderAndTheStartButtonEnabled) {
  EXPECT_EQ(Edit()->text(), QString::fromStdString((home.path() / "Documents/Hymnora/Songs/Tabulift").string()));
  EXPECT_TRUE(GoBtn()->isEnabled());
  EXPECT_EQ(form->windowTitle(), "Hymnora Tabulift 1.0");
  EXPECT_EQ(Find<QComboBox>("TableNamesCombo")->count(), 0);
  for (const QString &name : kChoosers)
    EXPECT_EQ(Chooser(name)->count(), 0) << name.toStdString();
}

TEST_F(MainWindow, WithoutADocumentsFolderStartsRelative) {
  fs::remove(home.path() / "Documents");
  TForm1 other;
  EXPECT_EQ(other.findChild<QLineEdit *>("ACEdit1")->text(), "Hymnora/Songs/Tabulift");
}

TEST_F(MainWindow, TheStartButtonFollowsTheTargetDirectory) {
  Edit()->clear();
  EXPECT_FALSE(GoBtn()->isEnabled());
  QTest::keyClick(Edit(), Qt::Key_Space);
  EXPECT_EQ(Edit()->text(), " ");
  EXPECT_TRUE(GoBtn()->isEnabled());
}

TEST_F(MainWindow, OpeningADatabaseListsItsTablesAndTouchesNothingElse) {
  chosenDatabase = kLieder;
  form->dxBarButton1Click();
  const QComboBox *tables = Find<QComboBox>("TableNamesCombo");
  EXPECT_EQ(Items(tables), (QStringList{"Leer", "Lieder", "Songs"}));
  EXPECT_EQ(tables->currentIndex(), -1);
  EXPECT_FALSE(form->ADOTable1.Active());
  EXPECT_EQ(Chooser("TitleCombo")->count(), 0);
  EXPECT_EQ(form->ADOConnection1.ConnectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + kLieder.string() + ";Persist Security Info=False");
}

TEST_F(MainWindow, CancellingTheFileDialogChangesNothing) {
  OpenTable("Lieder");
  const std::string connection = form->ADOConnection1.ConnectionString();
  chosenDatabase.reset();
  form->dxBarButton1Click();
  EXPECT_EQ(dialogsShown, 2);
  EXPECT_EQ(form->ADOConnection1.ConnectionString(), connection);
  EXPECT_EQ(Find<QComboBox>("TableNamesCombo")->count(), 3);
  EXPECT_TRUE(form->ADOTable1.Active());
  EXPECT_EQ(Chooser("TitleCombo")->currentText(), "Titel");
}

TEST_F(MainWindow, PickingATableShowsItAndPresetsTheChoosers) {
  OpenTable("Lieder");
  const QStringList columns = {"ID", "Titel", "Originaltitel", "Text", "Melodie", "Übersetzung", "Copyright",
                               "Stichwörter", "Tonart", "Bibelstelle", "Liederbuch", "CCLI", "Liedtext"};
  const QAbstractItemModel *grid = Find<QTableView>("SongsGrid")->model();
  ASSERT_EQ(grid->columnCount(), columns.size());
  for (int column = 0; column < columns.size(); ++column)
    EXPECT_EQ(grid->headerData(column, Qt::Horizontal).toString(), columns[column]);
  EXPECT_EQ(grid->rowCount(), 12);
  EXPECT_EQ(grid->index(0, 1).data().toString(), "Großer Gott, wir loben dich");

  for (const QString &name : kChoosers)
    EXPECT_EQ(Items(Chooser(name)), QStringList{""} + columns) << name.toStdString();
  EXPECT_EQ(Presets(), (QStringList{"Liedtext", "Titel", "Originaltitel", "Text", "Melodie", "Übersetzung",
                                    "Copyright", "", "Stichwörter", "Tonart", "Bibelstelle", "Liederbuch", "CCLI",
                                    "ID"}));
  EXPECT_EQ(Chooser("NatCopyCombo")->currentIndex(), -1);
}

TEST_F(MainWindow, PickingAnotherTableClearsTheEarlierChoices) {
  OpenTable("Lieder");
  Chooser("NatCopyCombo")->setCurrentText("Copyright");
  Find<QComboBox>("TableNamesCombo")->setCurrentText("Songs");
  EXPECT_EQ(Find<QTableView>("SongsGrid")->model()->columnCount(), 12);
  EXPECT_EQ(Presets(), (QStringList{"Lyrics", "Title", "", "Author", "Music", "Translator", "Copyright", "",
                                    "Keywords", "", "", "Songbook", "CCLI Number", "SongID"}));
}

TEST_F(MainWindow, TheStartButtonWritesTheSongsAndRestoresTheCursor) {
  TempDir target;
  OpenTable("Lieder");
  Edit()->setText(QString::fromStdString((target.path() / "Lieder").string()));
  // Sorting the grid changes only what the grid shows.
  Find<QTableView>("SongsGrid")->sortByColumn(1, Qt::DescendingOrder);
  QTest::mouseClick(GoBtn(), Qt::LeftButton);

  EXPECT_TRUE(ShownErrors().isEmpty()) << ShownErrors().join("\n").toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  const std::vector<std::string> files = FileNames(target.path() / "Lieder");
  EXPECT_EQ(files.size(), 10u);
  EXPECT_TRUE(ReadBytes(target.path() / "Lieder" / "Lobe den Herren (2).sng").find("#Key=Bb\r\n") !=
              std::string::npos);
}

struct ErrorCase {
  const char *name;
  bool pickTable;
  bool targetBlocked;
  const char *messageStart;
};

class MainWindowErrors : public MainWindow, public testing::WithParamInterface<ErrorCase> {};

// The error reaches the application's message box, and the window goes on.
TEST_P(MainWindowErrors, EndInTheMessageBox) {
  TempDir target;
  chosenDatabase = kLieder;
  form->dxBarButton1Click();
  if (GetParam().pickTable)
    Find<QComboBox>("TableNamesCombo")->setCurrentText("Lieder");
  std::ofstream(target.path() / "blocked") << "a file where the directory should be";
  Edit()->setText(QString::fromStdString((target.path() / (GetParam().targetBlocked ? "blocked" : "free")).string()));

  QTest::mouseClick(GoBtn(), Qt::LeftButton);
  ASSERT_EQ(ShownErrors().size(), 1);
  EXPECT_TRUE(ShownErrors().front().startsWith(GetParam().messageStart)) << ShownErrors().front().toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  Edit()->setText(QString::fromStdString((target.path() / "again").string()));
  Find<QComboBox>("TableNamesCombo")->setCurrentText("Lieder");
  QTest::mouseClick(GoBtn(), Qt::LeftButton);
  EXPECT_EQ(ShownErrors().size(), 1);
  EXPECT_EQ(FileNames(target.path() / "again").size(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowErrors, testing::Values(
  ErrorCase{"TargetCannotBeCreated", true, true, "Cannot create file \""},
  ErrorCase{"NoTableOpen", false, false, "ADOTable1: Cannot perform this operation on a closed dataset"}),
  [](const auto &info) { return info.param.name; });

// A damaged file ends in the message box, which names it; the window goes on
// and opens the next file.
TEST_F(MainWindow, ADamagedDatabaseEndsInTheMessageBoxAndTheWindowGoesOn) {
  TempDir dir;
  const fs::path damaged = dir.path() / "lieder.mdb";
  std::ofstream(damaged, std::ios::binary) << ReadBytes(kLieder).substr(0, 150000); // cut short
  chosenDatabase = damaged;
  const auto *toolbar = Find<QToolBar>("Custom1");
  QTest::mouseClick(toolbar->widgetForAction(form->findChild<QAction *>("dxBarButton1")), Qt::LeftButton);
  ASSERT_EQ(ShownErrors().size(), 1);
  EXPECT_EQ(ShownErrors().front().toStdString(), "The database '" + damaged.string() + "' is damaged and cannot be read.");

  OpenTable("Songs");
  EXPECT_EQ(ShownErrors().size(), 1);
  EXPECT_EQ(Find<QTableView>("SongsGrid")->model()->rowCount(), 2);
}

TEST_F(MainWindow, TheFolderBrowserStartsAtTheEditsFolderAndCancelChangesNothing) {
  fs::path askedFor;
  std::optional<fs::path> answer;
  form->FolderBrowserDialog = [&](const fs::path &folder, QWidget *) {
    askedFor = folder;
    return answer;
  };
  const QString before = Edit()->text();
  QTest::mouseClick(Find<QPushButton>("btnBrowse"), Qt::LeftButton);
  EXPECT_EQ(askedFor, fs::path(before.toStdString()));
  EXPECT_EQ(Edit()->text(), before);

  answer = home.path() / "Łódź";
  form->btnBrowseClick();
  EXPECT_EQ(Edit()->text(), QString::fromStdString((home.path() / "Łódź").string()));
}

TEST_F(MainWindow, TheGridAlternatesTheRowColoursFromTheFirstRow) {
  const QPalette palette = Find<QTableView>("SongsGrid")->palette();
  EXPECT_TRUE(Find<QTableView>("SongsGrid")->alternatingRowColors());
  EXPECT_EQ(palette.color(QPalette::Base), QColor(203, 226, 248));
  EXPECT_EQ(palette.color(QPalette::AlternateBase), QColor(221, 237, 251));
}

} // namespace
