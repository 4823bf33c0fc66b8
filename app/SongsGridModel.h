#pragma once
// The grid's view of the open table: its static snapshot, one column per field.
// The grid sorts through a proxy, so the table itself is never reordered.

#include <QAbstractTableModel>

class TADOTable;

class SongsGridModel : public QAbstractTableModel {
public:
  explicit SongsGridModel(const TADOTable &table, QObject *parent = nullptr);

  // Shows the table anew: after it was opened, closed or changed.
  void Reload();

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The role the grid sorts by: numbers as numbers, everything else as text.
  static constexpr int SortRole = Qt::UserRole;

private:
  const TADOTable &FTable;
  int FRows = 0;
  int FColumns = 0;
};
