#pragma once
// TTntStringList: the Unicode string list of the auto-complete edit. It is
// kept sorted and ignores a string that equals an entry, both by the user's
// locale without regard to case.

#include <QCollator>
#include <QString>
#include <QStringList>

#include "controls/TTntStrings.h"

class TTntStringList final : public TTntStrings {
public:
  TTntStringList();

  int Count() const override { return static_cast<int>(FStrings.size()); }
  std::u16string_view Strings(int index) const override;
  const QStringList &ToStringList() const { return FStrings; }

  // Puts the string in its sorted place; an equal entry keeps the list unchanged.
  void Add(const QString &s);
  // True when an entry equals `s`; `index` is then its place, else the place `s` would take.
  bool Find(const QString &s, int &index) const;
  void Delete(int index);
  void Clear() { FStrings.clear(); }
  void Assign(const TTntStrings &source);

private:
  QCollator FCollator;
  QStringList FStrings;
};
