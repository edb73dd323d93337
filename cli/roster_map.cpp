#include "cli/roster_map.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace cli {

namespace {

constexpr int FieldCount = 3;

struct Record {
  int lineNumber = 0;
  QStringList fields;
  bool blank = true;  // no quotes and nothing but spaces
  QString fault;      // what makes the record unreadable, if anything
};

// Splits CSV text into records of fields; an open quote at the end is a fault.
Expected<QList<Record>, QStringList> splitRecords(const QString& text) {
  QList<Record> records;
  Record record{1, {}, true, {}};
  QString field;
  bool quoted = false;     // inside quotes
  bool wasQuoted = false;  // the current field had quotes: keep it as it is
  int line = 1;
  int quoteLine = 0;
  const auto endField = [&] {
    record.fields << (wasQuoted ? field : field.trimmed());
    if (wasQuoted || !field.trimmed().isEmpty()) record.blank = false;
    field.clear();
    wasQuoted = false;
  };
  const auto endRecord = [&] {
    endField();
    records << record;
    record = Record{line, {}, true, {}};
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
        field += c;
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        if (c == u'\n') ++line;
        field += c;
      }
    } else if (c == u'"' && !wasQuoted && field.trimmed().isEmpty()) {
      field.clear();  // spaces before the quote are not part of the field
      quoted = true;
      wasQuoted = true;
      quoteLine = line;
    } else if (wasQuoted && (c == u' ' || c == u'\t')) {
      // spaces after the closing quote are not part of the field either
    } else if (wasQuoted && c != u',' && c != u'\n' && c != u'\r') {
      record.fault = QCoreApplication::translate("cli", "text after a closing quote");
    } else if (c == u',') {
      endField();
    } else if (c == u'\n' || c == u'\r') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      ++line;
      endRecord();
    } else {
      field += c;
    }
  }
  if (quoted)
    return Unexpected(QStringList{
        QCoreApplication::translate("cli", "line %1: a quote is never closed").arg(quoteLine)});
  endRecord();
  return records;
}

bool isHeader(const Record& record) {
  return record.fields.first().compare(QLatin1String("source"), Qt::CaseInsensitive) == 0;
}

// Names are read as UTF-8: one in another encoding would name another file.
// A NUL byte would end a name where the system reads it, so that the line
// would write a file other than the one it names.
QStringList unreadableLines(const QByteArray& text) {
  QStringList faults;
  int number = 0;
  for (const QByteArray& line : text.split('\n')) {
    ++number;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder(line);
    if (line.contains('\0'))
      faults << QCoreApplication::translate("cli",
                                            "line %1: a NUL byte, which no file name can hold")
                    .arg(number);
    else if (decoder.hasError())
      faults << QCoreApplication::translate("cli", "line %1: not valid UTF-8").arg(number);
  }
  return faults;
}

}  // namespace

Expected<QList<RosterLine>, QStringList> parseRosterMap(const QByteArray& text) {
  if (const QStringList faults = unreadableLines(text); !faults.isEmpty())
    return Unexpected(faults);
  QString decoded = QString::fromUtf8(text);
  if (decoded.startsWith(QChar(0xFEFF))) decoded.remove(0, 1);
  const auto records = splitRecords(decoded);
  if (!records) return Unexpected(records.error());

  QList<RosterLine> lines;
  QStringList faults;
  bool first = true;
  for (const Record& record : *records) {
    if (record.blank) continue;
    const bool header = first && isHeader(record);
    first = false;
    if (header) continue;
    const QString where = QCoreApplication::translate("cli", "line %1: ").arg(record.lineNumber);
    if (!record.fault.isEmpty()) {
      faults << where + record.fault;
      continue;
    }
    if (record.fields.size() != FieldCount) {
      faults << where +
                    QCoreApplication::translate("cli", "%1 fields where SOURCE,TARGET,ID needs 3")
                        .arg(record.fields.size());
      continue;
    }
    if (record.fields[0].isEmpty() || record.fields[1].isEmpty()) {
      faults << where + QCoreApplication::translate("cli", "SOURCE and TARGET must name a file");
      continue;
    }
    lines << RosterLine{record.lineNumber, record.fields[0], record.fields[1], record.fields[2]};
  }
  if (!faults.isEmpty()) return Unexpected(faults);
  return lines;
}

}  // namespace cli
