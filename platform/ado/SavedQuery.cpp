#include "platform/ado/SavedQuery.h"

#include <algorithm>
#include <cctype>

namespace {

enum Attribute {
  aParameter = 2,
  aPredicate = 3,
  aSource = 5,
  aColumn = 6,
  aJoin = 7,
  aCondition = 8,
  aGroup = 9,
  aGroupCondition = 10,
  aOrder = 11,
};

// The kind of a query in its MSysObjects flags: crosstab 0x10, the action
// queries 0x20 to 0x60, pass-through 0x70, union 0x80; a select query has none.
constexpr unsigned long kQueryKind = 0xF0;

// Flags of the predicate row.
constexpr int kAllColumns = 0x01;
constexpr int kDistinct = 0x02;
constexpr int kTop = 0x10;
constexpr int kTopPercent = 0x20;

std::vector<const TQueryPart *> PartsOf(const std::vector<TQueryPart> &parts, int attribute) {
  std::vector<const TQueryPart *> found;
  for (const TQueryPart &part : parts)
    if (part.Attribute == attribute)
      found.push_back(&part);
  return found;
}

void ReplaceAll(std::string &text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// With one source table, "Lieder.Titel" and "[Lieder].Titel" name the column
// Titel; libmdbsql knows only the bare name.
std::string WithoutQualifier(std::string expression, std::string_view source) {
  ReplaceAll(expression, "[" + std::string(source) + "].", "");
  ReplaceAll(expression, std::string(source) + ".", "");
  return expression;
}

bool IsNameCharacter(char c) {
  return std::string_view(" ()<>=!'\"+-*/,&.;").find(c) == std::string_view::npos;
}

// Whether the text written so far ends with the operator Like.
bool EndsWithLike(std::string_view text) {
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  if (text.size() < 4 || (text.size() > 4 && IsNameCharacter(text[text.size() - 5])))
    return false;
  std::string word(text.substr(text.size() - 4));
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::toupper(c); });
  return word == "LIKE";
}

// Access writes text constants in double quotes, which libmdbsql reads as
// names; they become single-quoted. After Like, Access's wildcards * and ?
// become libmdbsql's % and _.
std::string WithSingleQuotedText(std::string_view expression) {
  std::string out;
  for (std::size_t i = 0; i < expression.size(); ++i) {
    if (expression[i] != '"') {
      out.push_back(expression[i]);
      continue;
    }
    const bool pattern = EndsWithLike(out);
    out.push_back('\'');
    for (++i; i < expression.size(); ++i) {
      char c = expression[i];
      if (c == '"') {
        if (i + 1 < expression.size() && expression[i + 1] == '"')
          ++i; // a doubled quote is one quote character
        else
          break;
      }
      if (c == '\'')
        out.push_back('\'');
      if (pattern && c == '*')
        c = '%';
      else if (pattern && c == '?')
        c = '_';
      out.push_back(c);
    }
    out.push_back('\'');
  }
  return out;
}

// Rewrites the parts of a condition outside its '...' text constants.
template <typename Rewrite> std::string OutsideText(std::string_view sql, Rewrite rewrite) {
  std::string out;
  while (!sql.empty()) {
    const std::size_t open = std::min(sql.find('\''), sql.size());
    out += rewrite(std::string(sql.substr(0, open)));
    sql.remove_prefix(open);
    if (sql.empty())
      break;
    std::size_t close = 1; // past the constant; a doubled quote stays inside it
    while (close < sql.size() && (sql[close] != '\'' || (close + 1 < sql.size() && sql[close + 1] == '\'')))
      close += sql[close] == '\'' ? 2 : 1;
    close = std::min(close + 1, sql.size());
    out += sql.substr(0, close);
    sql.remove_prefix(close);
  }
  return out;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

// The words of a condition outside its text constants, upper-cased.
std::vector<std::string> WordsOf(std::string_view sql) {
  std::vector<std::string> words;
  OutsideText(sql, [&words](std::string code) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= code.size(); ++i)
      if (i == code.size() || !IsNameCharacter(code[i])) {
        if (i > start)
          words.push_back(Upper(std::string_view(code).substr(start, i - start)));
        start = i + 1;
      }
    return code;
  });
  return words;
}

bool CallsFunction(std::string_view sql) {
  bool call = false;
  OutsideText(sql, [&call](std::string code) {
    for (std::size_t i = 1; i < code.size(); ++i)
      call = call || (code[i] == '(' && IsNameCharacter(code[i - 1]));
    return code;
  });
  return call;
}

// libmdbsql reads a condition without parentheses, taking And and Or as they
// come. Access puts parentheses around every operand, "(((Titel)="A"))"; they
// can go unless the condition mixes And with Or, whose grouping they decide.
TViewSql ConditionSql(const std::string &expression, std::string_view source) {
  const std::string sql = WithSingleQuotedText(expression);
  if (CallsFunction(sql))
    return {{}, "its condition calls a function"};
  const std::vector<std::string> words = WordsOf(sql);
  const auto has = [&words](std::string_view word) { return std::find(words.begin(), words.end(), word) != words.end(); };
  if (has("AND") && has("OR"))
    return {{}, "its condition mixes And with Or"};
  return {OutsideText(sql, [source](std::string code) {
            code = WithoutQualifier(std::move(code), source);
            std::erase_if(code, [](char c) { return c == '(' || c == ')'; });
            return code;
          }),
          {}};
}

std::string ColumnListSql(const std::vector<TQueryPart> &parts, int predicateFlags, std::string_view source) {
  std::string list = predicateFlags & kAllColumns ? "*" : "";
  for (const TQueryPart *column : PartsOf(parts, aColumn)) {
    if (!list.empty())
      list += ", ";
    list += WithoutQualifier(column->Expression, source);
    if (!column->Name1.empty())
      list += " AS [" + column->Name1 + "]";
  }
  return list;
}

} // namespace

bool IsViewQuery(std::string_view name, unsigned long objectFlags, const std::vector<TQueryPart> &parts) {
  return !name.starts_with('~') && (objectFlags & kQueryKind) == 0 && PartsOf(parts, aParameter).empty();
}

TViewSql ViewSql(const std::vector<TQueryPart> &parts) {
  const auto sources = PartsOf(parts, aSource);
  if (sources.size() != 1 || !sources.front()->Expression.empty() || !PartsOf(parts, aJoin).empty())
    return {{}, "it reads more than one table"};
  if (!PartsOf(parts, aGroup).empty() || !PartsOf(parts, aGroupCondition).empty())
    return {{}, "it groups rows"};
  if (!PartsOf(parts, aOrder).empty())
    return {{}, "it sorts rows"};

  const auto predicates = PartsOf(parts, aPredicate);
  const int predicate = predicates.empty() ? 0 : predicates.front()->Flag;
  if (predicate & kDistinct)
    return {{}, "it leaves out repeated rows"};

  const std::string &table = sources.front()->Name1;
  const std::string &source = sources.front()->Name2.empty() ? table : sources.front()->Name2;
  std::string sql = "SELECT ";
  if (predicate & (kTop | kTopPercent))
    sql += "TOP " + predicates.front()->Name1 + (predicate & kTopPercent ? " PERCENT " : " ");
  sql += ColumnListSql(parts, predicate, source) + " FROM [" + table + "]";
  if (const auto conditions = PartsOf(parts, aCondition); !conditions.empty()) {
    const TViewSql condition = ConditionSql(conditions.front()->Expression, source);
    if (condition.Sql.empty())
      return condition;
    sql += " WHERE " + condition.Sql;
  }
  return {sql, {}};
}
