#include "app/SongsGridModel.h"

#include "platform/ado/ADOTable.h"

namespace {

// A cell shows one line; a memo of many thousand characters would only slow
// painting down, so it is cut to what a cell can show.
constexpr std::size_t kShownBytes = 300;

QString FromAnsi(std::string_view text) { return QString::fromStdU16String(AnsiToUtf16(text)); }

QString CellText(std::string_view value) {
  AnsiString line(value.substr(0, kShownBytes));
  for (char &c : line)
    if (c == '\r' || c == '\n' || c == '\t')
      c = ' ';
  return FromAnsi(line);
}

bool IsNumber(TFieldType type) {
  return type == TFieldType::ftInteger || type == TFieldType::ftFloat || type == TFieldType::ftCurrency ||
         type == TFieldType::ftBCD;
}

} // namespace

SongsGridModel::SongsGridModel(const TADOTable &table, QObject *parent)
    : QAbstractTableModel(parent), FTable(table) {}

void SongsGridModel::Reload() {
  beginResetModel();
  const bool shown = FTable.Active() && FTable.CursorType() == TCursorType::ctStatic;
  FColumns = shown ? static_cast<int>(FTable.Fields().size()) : 0;
  FRows = shown ? FTable.RecordCount() : 0;
  endResetModel();
}

int SongsGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : FRows; }

int SongsGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : FColumns; }

QVariant SongsGridModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole))
    return {};
  const std::string_view value = FTable.Cell(index.row(), index.column());
  if (role == Qt::DisplayRole)
    return CellText(value);
  if (!IsNumber(FTable.Fields()[index.column()].DataType()))
    return FromAnsi(value);
  return value.empty() ? QVariant() : QVariant(QString::fromUtf8(value.data(), value.size()).toDouble());
}

QVariant SongsGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= FColumns)
    return QAbstractTableModel::headerData(section, orientation, role);
  return FromAnsi(FTable.Fields()[section].FieldName());
}
