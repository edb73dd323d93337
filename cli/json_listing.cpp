#include "cli/json_listing.h"

#include <QJsonDocument>

#include "cli/console.h"

namespace cli {

JsonListing::JsonListing(Console& console) : m_console(console) { m_console.resultBytes("[\n"); }

void JsonListing::add(const QJsonObject& object) {
  // The object's own indented text, one level deeper, as an element.
  QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
  text.chop(1);  // its final line break; a separator or the array's end follows
  text.replace("\n", "\n    ");
  m_console.resultBytes((m_empty ? "    " : ",\n    ") + text);
  m_console.flushResults();
  m_empty = false;
}

void JsonListing::end() { m_console.resultBytes(m_empty ? "]\n" : "\n]\n"); }

}  // namespace cli
