#pragma once

#include <QString>
#include <cstdint>

// The 32-bit two's-complement pattern of value as 8 upper-case hex digits.
QString LongToHex01(const int32_t& value);

// LongToHex01 with its four byte pairs in reverse order.
QString LongToHexRev01(const int32_t& value);

// Parses "&H" + hexDigits (1 to 8 digits) as a signed 32-bit value: 80000000 to
// FFFFFFFF are negative. Anything else is a runtime failure.
int32_t HexToLong(const QString& hexDigits);

// a + b; a signed 32-bit overflow is a runtime failure.
int32_t CheckedSum(int32_t a, int32_t b);

// a - b, checked the same way.
int32_t CheckedDifference(int32_t a, int32_t b);

// Four bytes taken as a little-endian signed 32-bit word.
int32_t LittleEndianWord(const char* bytes);

// Four bytes taken as a big-endian signed 32-bit word: the little-endian word
// with its byte pairs reversed.
int32_t BigEndianWord(const char* bytes);
