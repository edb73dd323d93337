#include "archive/word_decoding.h"

#include "archive/command_error.h"

QString LongToHex01(const int32_t& value) {
  const QString hex = QString::number(static_cast<uint32_t>(value), 16).toUpper();
  return (QStringLiteral("0000000") + hex).right(8);
}

QString LongToHexRev01(const int32_t& value) {
  const QString hex = LongToHex01(value);
  QString reversed(8, QLatin1Char('0'));
  for (int i = 1; i <= 7; i += 2) {
    reversed[8 - i - 1] = hex[i - 1];
    reversed[9 - i - 1] = hex[i];
  }
  return reversed;
}

namespace {
int HexDigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return -1;
}
}  // namespace

int32_t HexToLong(const QString& hexDigits) {
  if (hexDigits.isEmpty()) throw CommandError(13, QStringLiteral("Type mismatch"));
  uint32_t value = 0;
  for (const QChar c : hexDigits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) throw CommandError(13, QStringLiteral("Type mismatch"));
    if (value > 0x0FFFFFFFu) throw CommandError(OverflowErrorNumber, QStringLiteral("Overflow"));
    value = value << 4 | uint32_t(digit);
  }
  return static_cast<int32_t>(value);
}

int32_t CheckedSum(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) throw CommandError(OverflowErrorNumber, "Overflow");
  return sum;
}

int32_t CheckedDifference(int32_t a, int32_t b) {
  int32_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference))
    throw CommandError(OverflowErrorNumber, "Overflow");
  return difference;
}

int32_t LittleEndianWord(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                              uint32_t(b[3]) << 24);
}

int32_t BigEndianWord(const char* bytes) {
  return HexToLong(LongToHexRev01(LittleEndianWord(bytes)));
}
