#pragma once
// What the data access classes share: the kinds of fields and the error they raise.

#include <stdexcept>
#include <string>
#include <string_view>

// The kind of a column. The text each kind gives for a value (never dependent
// on the machine's locale; NULL always gives the empty text):
//   ftString, ftMemo   the text in Windows-1252, characters it lacks as "?"
//   ftBoolean          "True" or "False"
//   ftInteger          decimal digits, "-" for negatives
//   ftFloat            the shortest decimal that reads back as the same number,
//                      "." as decimal point, exponent form when that is shorter ("1e+20")
//   ftCurrency, ftBCD  the exact decimal with "." ("18.0000")
//   ftDateTime         "YYYY-MM-DD", and " HH:MM:SS" after it unless the time is midnight
//   ftGuid             "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
//   ftBytes            the bytes in upper-case hexadecimal
//   ftBlob, ftUnknown  the empty text (OLE objects, attachments: no text form)
enum class TFieldType { ftUnknown, ftBoolean, ftInteger, ftFloat, ftCurrency, ftBCD, ftDateTime,
                        ftString, ftMemo, ftGuid, ftBytes, ftBlob };

// A word for the kind, as the command line shows it: "text", "memo", "number", ...
std::string_view FieldTypeName(TFieldType type);

// A file, table or query name as the error messages show it: in single quotes.
std::string Quoted(std::string_view name);

// Every failure of the data access classes. The message is UTF-8 text for the user.
class EDatabaseError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
