#pragma once
// 8-bit text of the system is Windows-1252 ("ANSI"); these functions convert it at
// the borders where UTF-8 (libmdb, file names) or UTF-16 (Qt) meet it.

#include <string>
#include <string_view>

using AnsiString = std::string;

// A character that Windows-1252 lacks becomes "?".
AnsiString Utf8ToAnsi(std::string_view utf8);
AnsiString Utf16ToAnsi(std::u16string_view utf16);

std::string AnsiToUtf8(std::string_view ansi);
std::u16string AnsiToUtf16(std::string_view ansi);

// Upper-casing and case-insensitive comparison as the Windows-1252 locale does them
// (letters with diacritics included, "ß" has no capital form in one byte).
char AnsiUpperChar(char c);
AnsiString AnsiUpperCase(std::string_view s);
bool AnsiSameText(std::string_view a, std::string_view b);
