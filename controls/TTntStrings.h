#pragma once
// A list of Unicode strings as its readers see it: a current count and each
// string as UTF-16 text, read afresh on every access.

#include <string>
#include <string_view>
#include <vector>

class TTntStrings {
public:
  virtual int Count() const = 0;
  // Valid until the list changes.
  virtual std::u16string_view Strings(int index) const = 0;

protected:
  ~TTntStrings() = default;
};

// A fixed list of strings in the order given.
class TStringArray final : public TTntStrings {
public:
  TStringArray() = default;
  explicit TStringArray(std::vector<std::u16string> strings) : FStrings(std::move(strings)) {}

  int Count() const override { return static_cast<int>(FStrings.size()); }
  std::u16string_view Strings(int index) const override { return FStrings.at(index); }

private:
  std::vector<std::u16string> FStrings;
};
