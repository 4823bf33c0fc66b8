#include "platform/ado/DB.h"

std::string_view FieldTypeName(TFieldType type) {
  switch (type) {
  case TFieldType::ftBoolean: return "boolean";
  case TFieldType::ftInteger:
  case TFieldType::ftFloat:
  case TFieldType::ftBCD: return "number";
  case TFieldType::ftCurrency: return "currency";
  case TFieldType::ftDateTime: return "date";
  case TFieldType::ftString: return "text";
  case TFieldType::ftMemo: return "memo";
  case TFieldType::ftGuid: return "guid";
  case TFieldType::ftBytes: return "binary";
  case TFieldType::ftBlob: return "ole";
  case TFieldType::ftUnknown: break;
  }
  return "other";
}

std::string Quoted(std::string_view name) { return "'" + std::string(name) + "'"; }
