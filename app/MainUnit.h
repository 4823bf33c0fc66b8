#pragma once
// TForm1: the one window. Open a database, pick a table, check the column
// choosers, press the start button: one song file per row.

#include <QMainWindow>
#include <memory>
#include <vector>

#include "app/Dialogs.h"
#include "app/ImportRun.h"
#include "app/SongFields.h"
#include "platform/ado/ADOConnection.h"
#include "platform/ado/ADOTable.h"

namespace Ui {
class TForm1;
}
class QComboBox;
class QSortFilterProxyModel;
class SongsGridModel;

class TForm1 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm1(QWidget *parent = nullptr);
  ~TForm1() override;

  // Database and table selection.
  void dxBarButton1Click();
  void TableNamesComboChange();
  void dxBarButton2Click();
  void FillColumnChoosers();
  void AutoMapColumns();

  // The conversion.
  void GoBtnClick();

  // The window's own handlers.
  void FormCreate();
  void ACEdit1Change();
  void btnBrowseClick();

  // The modal dialogs; tests put their own in.
  OpenDatabaseDialog siOpenDialog1 = ExecuteOpenDatabaseDialog;
  FolderBrowser FolderBrowserDialog = BrowseForFolder;

  TADOConnection ADOConnection1;
  TADOTable ADOTable1;

private:
  // The fourteen column choosers: the drop-downs on BottomPanel, in the
  // window's component order.
  std::vector<QComboBox *> ColumnChoosers() const;
  QComboBox *Chooser(TSongField field) const;
  TImportProgress ShowProgress();
  void StyleGrid();

  std::unique_ptr<Ui::TForm1> ui;
  SongsGridModel *FGridModel;
  QSortFilterProxyModel *FGridSorter;
};
