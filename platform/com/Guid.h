#pragma once
// Globally unique identifiers of COM classes and interfaces.

#include <array>
#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};

  friend constexpr bool operator==(const GUID &, const GUID &) = default;
  friend constexpr auto operator<=>(const GUID &, const GUID &) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID &;
using REFCLSID = const CLSID &;

namespace guid_detail {

consteval unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  throw std::invalid_argument("not a hexadecimal digit");
}

consteval std::uint32_t Hex(std::string_view text, std::size_t at, std::size_t digits) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < digits; ++i)
    value = value << 4 | HexDigit(text[at + i]);
  return value;
}

} // namespace guid_detail

// Reads the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile
// time, so that identifiers are written exactly as they are published.
consteval GUID MakeGuid(std::string_view text) {
  using guid_detail::Hex;
  if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
      text[24] != '-' || text[37] != '}')
    throw std::invalid_argument("not a GUID in registry form");
  GUID guid;
  guid.Data1 = Hex(text, 1, 8);
  guid.Data2 = static_cast<std::uint16_t>(Hex(text, 10, 4));
  guid.Data3 = static_cast<std::uint16_t>(Hex(text, 15, 4));
  guid.Data4[0] = static_cast<std::uint8_t>(Hex(text, 20, 2));
  guid.Data4[1] = static_cast<std::uint8_t>(Hex(text, 22, 2));
  for (std::size_t i = 0; i < 6; ++i)
    guid.Data4[2 + i] = static_cast<std::uint8_t>(Hex(text, 25 + 2 * i, 2));
  return guid;
}

// The registry form in upper case, as error messages show it.
std::string GUIDToString(const GUID &guid);
