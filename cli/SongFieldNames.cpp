#include "cli/SongFieldNames.h"

namespace {

constexpr std::string_view kNames[kSongFieldCount] = {
    "text",           "title",     "otitle",   "author", "melody", "translation", "natcopyright",
    "copyright",      "keywords",  "key",      "bible",  "songbook", "ccli",      "quickfind"};

} // namespace

std::string_view SongFieldName(TSongField field) { return kNames[field]; }

std::optional<TSongField> SongFieldNamed(std::string_view name) {
  for (int field = 0; field < kSongFieldCount; ++field)
    if (kNames[field] == name)
      return static_cast<TSongField>(field);
  return std::nullopt;
}

std::string SongFieldNameList() {
  std::string list;
  for (std::string_view name : kNames)
    list.append(list.empty() ? "" : ", ").append(name);
  return list;
}

std::optional<TColumnMapping> ParseColumnMapping(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos)
    return std::nullopt;
  const std::optional<TSongField> field = SongFieldNamed(argument.substr(0, equals));
  if (!field)
    return std::nullopt;
  return TColumnMapping{*field, std::string(argument.substr(equals + 1))};
}
