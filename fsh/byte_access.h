#pragma once

#include <QByteArray>
#include <QtEndian>
#include <cstdint>

// Little-endian fields at a position the caller has checked to lie inside the bytes.
namespace fsh {

inline uint16_t readU16(const char* at) { return qFromLittleEndian<quint16>(at); }
inline uint32_t readU24(const char* at) {
  const auto* b = reinterpret_cast<const uchar*>(at);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16;
}
inline uint32_t readU32(const char* at) { return qFromLittleEndian<quint32>(at); }

inline void writeU16(char* at, uint16_t value) { qToLittleEndian<quint16>(value, at); }
inline void writeU24(char* at, uint32_t value) {
  at[0] = char(value & 0xFF);
  at[1] = char(value >> 8 & 0xFF);
  at[2] = char(value >> 16 & 0xFF);
}
inline void writeU32(char* at, uint32_t value) { qToLittleEndian<quint32>(value, at); }

inline qsizetype alignUp(qsizetype value, qsizetype alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

}  // namespace fsh
