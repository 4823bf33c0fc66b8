#include "app/MainUnit.h"

#include <QComboBox>
#include <QProgressDialog>
#include <QSortFilterProxyModel>

#include "app/ColumnPresets.h"
#include "app/ImportRun.h"
#include "app/SongsGridModel.h"
#include "platform/ado/ConnectionString.h"
#include "ui_MainUnit.h"
#include "util/DUtil.h"

namespace fs = std::filesystem;

namespace {

QString FromAnsi(std::string_view text) { return QString::fromStdU16String(AnsiToUtf16(text)); }

AnsiString ToAnsi(const QString &text) { return Utf16ToAnsi(text.toStdU16String()); }

fs::path ToPath(const QString &text) { return fs::path(text.toStdString()); }

QString FromPath(const fs::path &path) { return QString::fromStdString(path.string()); }

// The program's picture in every size the desktop may ask for.
QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 256})
    icon.addFile(QStringLiteral(":/icons/tabulift-%1.png").arg(size));
  return icon;
}

// The hourglass for as long as the conversion runs, however it ends.
class WaitCursor {
public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()) {
  ui->setupUi(this);
  setWindowIcon(ApplicationIcon());
  addAction(ui->dxBarButton2); // in the command set, on no toolbar
  // The form puts the toolbar's widgets first; the open button goes before them.
  QAction *tableItems = ui->Custom1->actions().constFirst();
  ui->Custom1->insertAction(tableItems, ui->dxBarButton1);
  ui->Custom1->insertSeparator(tableItems);
  ui->ACEdit1->SetACSource(acsShell);

  ADOTable1.SetConnection(&ADOConnection1);
  FGridModel = new SongsGridModel(ADOTable1, this);
  FGridSorter = new QSortFilterProxyModel(this);
  FGridSorter->setSourceModel(FGridModel);
  FGridSorter->setSortRole(SongsGridModel::SortRole);
  FGridSorter->setSortCaseSensitivity(Qt::CaseInsensitive);
  FGridSorter->setSortLocaleAware(true);
  ui->SongsGrid->setModel(FGridSorter);
  StyleGrid();

  connect(ui->dxBarButton1, &QAction::triggered, this, &TForm1::dxBarButton1Click);
  connect(ui->dxBarButton2, &QAction::triggered, this, &TForm1::dxBarButton2Click);
  connect(ui->TableNamesCombo, &QComboBox::currentTextChanged, this, &TForm1::TableNamesComboChange);
  connect(ui->GoBtn, &QPushButton::clicked, this, &TForm1::GoBtnClick);
  connect(ui->ACEdit1, &QLineEdit::textChanged, this, &TForm1::ACEdit1Change);
  connect(ui->btnBrowse, &QPushButton::clicked, this, &TForm1::btnBrowseClick);

  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::StyleGrid() {
  QPalette palette = ui->SongsGrid->palette();
  palette.setColor(QPalette::Base, QColor(203, 226, 248));          // rows 1, 3, 5, ...
  palette.setColor(QPalette::AlternateBase, QColor(221, 237, 251)); // rows 2, 4, 6, ...
  ui->SongsGrid->setPalette(palette);
  ui->SongsGrid->horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section { background-color: rgb(255, 228, 138); }"));
  ui->SongsGrid->horizontalHeader()->setSectionsMovable(true);
}

std::vector<QComboBox *> TForm1::ColumnChoosers() const {
  const QList<QComboBox *> found = ui->BottomPanel->findChildren<QComboBox *>(Qt::FindDirectChildrenOnly);
  return {found.begin(), found.end()};
}

void TForm1::dxBarButton1Click() {
  const std::optional<fs::path> database = siOpenDialog1(this);
  if (!database)
    return;
  ADOConnection1.Close();
  ADOConnection1.SetConnectionString(JetConnectionString(*database));
  dxBarButton2Click();
}

// Lists the tables of the connection as it stands. The open table, the grid
// and the choosers stay as they are until a table is picked.
void TForm1::dxBarButton2Click() {
  std::vector<AnsiString> names;
  ADOConnection1.GetTableNames(names);
  QStringList items;
  for (const AnsiString &name : names)
    items << FromAnsi(name);
  const QSignalBlocker quiet(ui->TableNamesCombo);
  ui->TableNamesCombo->clear();
  ui->TableNamesCombo->addItems(items);
  ui->TableNamesCombo->setCurrentIndex(-1);
}

void TForm1::TableNamesComboChange() {
  ADOTable1.Close();
  FGridModel->Reload(); // a closed table has nothing to show
  const QString tableName = ui->TableNamesCombo->currentText();
  if (tableName.isEmpty())
    return;
  ADOTable1.SetTableName(ToAnsi(tableName));
  ADOTable1.Open();
  FGridModel->Reload();
  ui->SongsGrid->sortByColumn(-1, Qt::AscendingOrder);
  FillColumnChoosers();
  AutoMapColumns();
}

void TForm1::FillColumnChoosers() {
  QStringList entries{QString()};
  for (const TField &field : ADOTable1.Fields())
    entries << FromAnsi(field.FieldName());
  for (QComboBox *chooser : ColumnChoosers()) {
    chooser->clear();
    chooser->addItems(entries);
    chooser->setCurrentIndex(-1);
  }
}

void TForm1::AutoMapColumns() {
  TColumnChoosers choosers;
  for (int field = 0; field < kSongFieldCount; ++field) {
    const QComboBox *combo = Chooser(static_cast<TSongField>(field));
    for (int item = 0; item < combo->count(); ++item)
      choosers[field].Items.push_back(ToAnsi(combo->itemText(item)));
    choosers[field].ItemIndex = combo->currentIndex();
  }
  ::AutoMapColumns(choosers, ADOTable1.Fields());
  for (int field = 0; field < kSongFieldCount; ++field)
    Chooser(static_cast<TSongField>(field))->setCurrentIndex(choosers[field].ItemIndex);
}

void TForm1::GoBtnClick() {
  WaitCursor hourglass;
  const QString target = ui->ACEdit1->text();
  if (target.isEmpty())
    return;
  TColumnChoices columns;
  for (int field = 0; field < kSongFieldCount; ++field) {
    const QComboBox *combo = Chooser(static_cast<TSongField>(field));
    if (combo->currentIndex() > 0)
      columns[field] = ToAnsi(combo->currentText());
  }
  RunImport(ToPath(target), columns, ADOTable1, ShowProgress());
}

// A long run shows how far it is; the dialog keeps the window from input
// meanwhile, as the run would.
TImportProgress TForm1::ShowProgress() {
  auto dialog = std::make_shared<QProgressDialog>(this);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setCancelButton(nullptr);
  dialog->setMinimumDuration(500);
  dialog->setLabelText(QStringLiteral("SNG-Dateien werden erzeugt..."));
  return [dialog](int row, int rowCount) {
    if (rowCount > 0) {
      dialog->setMaximum(rowCount);
      dialog->setValue(row);
    }
  };
}

QComboBox *TForm1::Chooser(TSongField field) const {
  static constexpr std::array<const char *, kSongFieldCount> kNames = {
      "SongMemoCombo", "TitleCombo",   "OTitleCombo",    "TextCombo", "MusicCombo",
      "TranslationCombo", "NatCopyCombo", "CopyrightCombo", "KeywordsCombo", "KeyCombo",
      "BibleCombo",    "SongbookCombo", "CCLICombo",      "QuickfindCombo"};
  return ui->BottomPanel->findChild<QComboBox *>(QLatin1String(kNames[field]), Qt::FindDirectChildrenOnly);
}

void TForm1::FormCreate() {
  ui->ACEdit1->setText(FromPath(GetMyDocumentsPath() / "Hymnora" / "Songs" / "Tabulift"));
  ACEdit1Change(); // also when the text was already this one
}

void TForm1::ACEdit1Change() { ui->GoBtn->setEnabled(!ui->ACEdit1->text().isEmpty()); }

void TForm1::btnBrowseClick() {
  if (const std::optional<fs::path> folder = FolderBrowserDialog(ToPath(ui->ACEdit1->text()), this))
    ui->ACEdit1->setText(FromPath(*folder));
}
