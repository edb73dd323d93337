#pragma once

#include <QJsonObject>

namespace cli {

class Console;

// A JSON array of objects written to standard output as it goes: each object
// goes out, flushed, once it is known, so that a listing of many archives
// holds one of them in memory and a reader sees each at once. The text is
// what QJsonDocument's indented form would be for the whole array.
class JsonListing {
 public:
  explicit JsonListing(Console& console);
  void add(const QJsonObject& object);
  // Closes the array; once, at the end.
  void end();

 private:
  Console& m_console;
  bool m_empty = true;
};

}  // namespace cli
