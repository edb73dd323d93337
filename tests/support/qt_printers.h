#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable gtest failure output for Qt values.
inline void PrintTo(const QString& value, std::ostream* os) {
  *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QStringList& value, std::ostream* os) {
  *os << '{';
  for (const QString& item : value) *os << "\n  \"" << item.toStdString() << '"';
  *os << " }";
}
inline void PrintTo(const QByteArray& value, std::ostream* os) {
  *os << value.size() << " bytes: " << value.left(64).toHex(' ').toStdString();
}
