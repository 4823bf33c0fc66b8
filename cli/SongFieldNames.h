#pragma once
// The command line's names of the song fields ("text", "title", ...) and its
// --map FIELD=COLUMN arguments.

#include <optional>
#include <string>
#include <string_view>

#include "app/SongFields.h"

std::string_view SongFieldName(TSongField field);
std::optional<TSongField> SongFieldNamed(std::string_view name);

// Every name, ", " between them.
std::string SongFieldNameList();

struct TColumnMapping {
  TSongField Field;
  std::string Column; // as given (UTF-8); empty unmaps the field
};

// Reads "FIELD=COLUMN"; nullopt when there is no "=" or FIELD is unknown.
std::optional<TColumnMapping> ParseColumnMapping(std::string_view argument);
