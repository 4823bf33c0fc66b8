#pragma once
// TADOTable: one table or view of a connection, read row by row. Its errors
// carry its component name: "ADOTable1: Field 'Titel' not found".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/DB.h"
#include "util/Ansi.h"

class TADOConnection;
class TIsolatedRows;

// ctStatic reads every row when the table opens and keeps them (the grid shows
// them); ctOpenForwardOnly reads one row at a time, in memory that does not
// grow with the table.
enum class TCursorType { ctOpenForwardOnly, ctStatic };

class TField {
public:
  TField(AnsiString fieldName, int index, TFieldType dataType)
      : FFieldName(std::move(fieldName)), FIndex(index), FDataType(dataType) {}

  const AnsiString &FieldName() const { return FFieldName; }
  int Index() const { return FIndex; } // position in the table, from 0
  TFieldType DataType() const { return FDataType; }
  bool IsMemo() const { return FDataType == TFieldType::ftMemo; } // long 8-bit text

private:
  AnsiString FFieldName;
  int FIndex;
  TFieldType FDataType;
};

class TADOTable {
public:
  explicit TADOTable(std::string name = "ADOTable1");
  ~TADOTable();
  TADOTable(const TADOTable &) = delete;
  TADOTable &operator=(const TADOTable &) = delete;

  const std::string &Name() const { return FName; }

  void SetConnection(TADOConnection *connection) { FConnection = connection; }
  // Table name and cursor type can change only while the table is closed.
  void SetTableName(std::string_view tableName);
  const AnsiString &TableName() const { return FTableName; }
  void SetCursorType(TCursorType cursorType);
  TCursorType CursorType() const { return FCursorType; }

  // Opens the table and stands on its first row; nothing when already open.
  // On failure the table stays closed.
  void Open();
  // Nothing when already closed. A closed table has no fields.
  void Close();
  bool Active() const { return FActive; }

  const std::vector<TField> &Fields() const { return FFields; }
  // The field of that name, letter case ignored; nullptr when there is none.
  const TField *FindField(std::string_view fieldName) const;
  // As FindField, but raises "<Name>: Field '<name>' not found".
  const TField &FieldByName(std::string_view fieldName) const;

  // Row moves; on a closed table they raise "<Name>: Cannot perform this
  // operation on a closed dataset". Eof is set once the last row is passed, at
  // once for an empty table.
  void First();
  void Next();
  bool Eof() const;

  // The number of rows; -1 when not known before reading (a view read forward-only).
  int RecordCount() const;

  // The value of a field of the current row as Windows-1252 text (DB.h).
  AnsiString AsString(int fieldIndex) const;

  // A static cursor's value at any row, for the grid; valid while the table is open.
  std::string_view Cell(int record, int fieldIndex) const;

private:
  void CheckActive() const;
  void CheckInactive() const;
  void CheckField(int fieldIndex) const;
  [[noreturn]] void Fail(const std::string &message) const;
  std::unique_ptr<TIsolatedRows> OpenRows();

  std::string FName;
  TADOConnection *FConnection = nullptr;
  AnsiString FTableName;
  TCursorType FCursorType = TCursorType::ctStatic;
  bool FActive = false;
  std::vector<TField> FFields;

  // ctStatic: every row's values, row after row, as one text and where each
  // value ends in it (one allocation per table, not one per value).
  std::string FCellText;
  std::vector<std::size_t> FCellEnds;
  int FRecordCount = 0;
  int FRecord = 0;

  // ctOpenForwardOnly: the reader, whether it stands on a row, and whether it
  // has moved past the first (First then starts it again).
  std::unique_ptr<TIsolatedRows> FRows;
  bool FOnRow = false;
  bool FMoved = false;
};
