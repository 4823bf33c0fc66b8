#include "controls/TTntStringList.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count)
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

TTntStringList::TTntStringList() { FCollator.setCaseSensitivity(Qt::CaseInsensitive); }

std::u16string_view TTntStringList::Strings(int index) const {
  CheckIndex(index, Count());
  const QString &s = FStrings[index];
  return {reinterpret_cast<const char16_t *>(s.utf16()), static_cast<std::size_t>(s.size())};
}

bool TTntStringList::Find(const QString &s, int &index) const {
  const auto place = std::lower_bound(FStrings.begin(), FStrings.end(), s,
                                      [this](const QString &a, const QString &b) { return FCollator.compare(a, b) < 0; });
  index = static_cast<int>(place - FStrings.begin());
  return place != FStrings.end() && FCollator.compare(*place, s) == 0;
}

void TTntStringList::Add(const QString &s) {
  int index;
  if (!Find(s, index))
    FStrings.insert(index, s);
}

void TTntStringList::Delete(int index) {
  CheckIndex(index, Count());
  FStrings.removeAt(index);
}

void TTntStringList::Assign(const TTntStrings &source) {
  if (&source == this)
    return; // clearing first would lose every entry
  Clear();
  for (int i = 0; i < source.Count(); ++i) {
    const std::u16string_view s = source.Strings(i);
    Add(QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())));
  }
}
