#pragma once
// Lets test failures show Qt strings as text.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

inline void PrintTo(const QStringList &list, std::ostream *os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    *os << (i ? ", " : " ");
    PrintTo(list[i], os);
  }
  *os << " }";
}
