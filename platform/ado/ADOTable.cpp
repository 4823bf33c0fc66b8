#include "platform/ado/ADOTable.h"

#include <algorithm>

#include "platform/ado/ADOConnection.h"
#include "platform/ado/IsolatedDatabase.h"

TADOTable::TADOTable(std::string name) : FName(std::move(name)) {}

TADOTable::~TADOTable() = default;

void TADOTable::Fail(const std::string &message) const { throw EDatabaseError(FName + ": " + message); }

void TADOTable::CheckActive() const {
  if (!FActive)
    Fail("Cannot perform this operation on a closed dataset");
}

void TADOTable::CheckInactive() const {
  if (FActive)
    Fail("Cannot perform this operation on an open dataset");
}

void TADOTable::CheckField(int fieldIndex) const {
  CheckActive();
  if (fieldIndex < 0 || fieldIndex >= static_cast<int>(FFields.size()))
    Fail("List index out of bounds (" + std::to_string(fieldIndex) + ")");
}

void TADOTable::SetTableName(std::string_view tableName) {
  CheckInactive();
  FTableName = tableName;
}

void TADOTable::SetCursorType(TCursorType cursorType) {
  CheckInactive();
  FCursorType = cursorType;
}

std::unique_ptr<TIsolatedRows> TADOTable::OpenRows() {
  if (!FConnection)
    Fail("Missing Connection or ConnectionString");
  if (FTableName.empty())
    Fail("Missing TableName property");
  return FConnection->Database().OpenRows(FTableName);
}

void TADOTable::Open() {
  if (FActive)
    return;
  std::unique_ptr<TIsolatedRows> rows = OpenRows();
  std::vector<TField> fields;
  for (const TMdbColumn &column : rows->Columns())
    fields.emplace_back(column.Name, static_cast<int>(fields.size()), column.DataType);

  if (FCursorType == TCursorType::ctStatic) {
    std::string text;
    std::vector<std::size_t> ends;
    // The count is the file's word: a damaged one must not reserve for rows
    // that are not there. Past the cap the snapshot grows as it is read.
    constexpr int kReservedRows = 1 << 16;
    ends.reserve(static_cast<std::size_t>(std::clamp(rows->RowCount(), 0, kReservedRows)) * fields.size());
    int recordCount = 0;
    for (; rows->Next(); ++recordCount)
      for (std::size_t i = 0; i < fields.size(); ++i) {
        text += rows->Value(static_cast<int>(i));
        ends.push_back(text.size());
      }
    FCellText = std::move(text);
    FCellEnds = std::move(ends);
    FRecordCount = recordCount;
    FRecord = 0;
  } else {
    FOnRow = rows->Next();
    FMoved = false;
    FRows = std::move(rows);
  }
  FFields = std::move(fields);
  FActive = true;
}

void TADOTable::Close() {
  FActive = false;
  FFields.clear();
  FCellText = {};
  FCellEnds = {};
  FRecordCount = 0;
  FRows.reset();
  FOnRow = false;
}

const TField *TADOTable::FindField(std::string_view fieldName) const {
  for (const TField &field : FFields)
    if (AnsiSameText(field.FieldName(), fieldName))
      return &field;
  return nullptr;
}

const TField &TADOTable::FieldByName(std::string_view fieldName) const {
  if (const TField *field = FindField(fieldName))
    return *field;
  Fail("Field '" + AnsiToUtf8(fieldName) + "' not found");
}

void TADOTable::First() {
  CheckActive();
  if (FCursorType == TCursorType::ctStatic) {
    FRecord = 0;
  } else if (FMoved) {
    FRows = OpenRows();
    FOnRow = FRows->Next();
    FMoved = false;
  }
}

void TADOTable::Next() {
  CheckActive();
  if (FCursorType == TCursorType::ctStatic) {
    if (FRecord < FRecordCount)
      ++FRecord;
  } else if (FOnRow) {
    FOnRow = FRows->Next();
    FMoved = true;
  }
}

bool TADOTable::Eof() const {
  if (!FActive)
    return true;
  return FCursorType == TCursorType::ctStatic ? FRecord >= FRecordCount : !FOnRow;
}

int TADOTable::RecordCount() const {
  CheckActive();
  return FCursorType == TCursorType::ctStatic ? FRecordCount : FRows->RowCount();
}

AnsiString TADOTable::AsString(int fieldIndex) const {
  CheckField(fieldIndex);
  if (Eof())
    Fail("Either BOF or EOF is True, or the current record has been deleted. "
         "Requested operation requires a current record.");
  return FCursorType == TCursorType::ctStatic ? AnsiString(Cell(FRecord, fieldIndex)) : FRows->Value(fieldIndex);
}

std::string_view TADOTable::Cell(int record, int fieldIndex) const {
  CheckField(fieldIndex);
  if (FCursorType != TCursorType::ctStatic || record < 0 || record >= FRecordCount)
    Fail("No row " + std::to_string(record) + " in this cursor");
  const std::size_t cell = static_cast<std::size_t>(record) * FFields.size() + fieldIndex;
  const std::size_t begin = cell == 0 ? 0 : FCellEnds[cell - 1];
  return std::string_view(FCellText).substr(begin, FCellEnds[cell] - begin);
}
