#include "fsh/refpack.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace fsh {

namespace {

constexpr uint8_t Signature = 0xFB;
constexpr uint8_t CompressedSizeFlag = 0x01;
constexpr uint8_t StandardFlag = 0x10;
constexpr uint8_t WideSizeFlag = 0x80;
// Flag bits that no writer sets; a byte with any of them is not a header.
constexpr uint8_t UnknownFlags = 0x2E;
// The most a stream can produce per input byte: a 4-byte code copies 1028 bytes.
constexpr qint64 MaxExpansion = 257;
constexpr qsizetype Window = qsizetype(1) << 17;
constexpr int MaxMatch = 1028;
constexpr int MaxLiteralRun = 112;

qint64 bigEndian(const uchar* at, int size) {
  qint64 value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | at[i];
  return value;
}

std::optional<RefpackHeader> headerAt(QByteArrayView bytes, qsizetype start) {
  if (bytes.size() < start + 2) return std::nullopt;
  const auto* b = reinterpret_cast<const uchar*>(bytes.data()) + start;
  const uint8_t flags = b[0];
  if (b[1] != Signature || !(flags & StandardFlag) || (flags & UnknownFlags)) return std::nullopt;
  const qsizetype fieldSize = (flags & WideSizeFlag) ? 4 : 3;
  const qsizetype fields = (flags & CompressedSizeFlag) ? 2 : 1;
  const qsizetype dataStart = start + 2 + fields * fieldSize;
  if (bytes.size() < dataStart) return std::nullopt;
  return RefpackHeader{start, dataStart,
                       bigEndian(b + 2 + (fields - 1) * fieldSize, int(fieldSize))};
}

// Copies run in whole 8- or 16-byte steps and may write this far past their
// end; the output has this much room after the declared size.
constexpr qsizetype CopySlack = 16;

void copyLiterals(uchar* to, const uchar* from, qsizetype count, qsizetype inputLeft) {
  if (count <= 4 && inputLeft >= 4) {
    std::memcpy(to, from, 4);
  } else if (inputLeft >= (count + 15) / 16 * 16) {
    for (qsizetype i = 0; i < count; i += 16) std::memcpy(to + i, from + i, 16);
  } else {
    std::memcpy(to, from, size_t(count));
  }
}

void copyMatch(uchar* to, qsizetype distance, qsizetype count) {
  const uchar* from = to - distance;
  if (distance >= 8) {
    // Each step reads only bytes that earlier steps or earlier codes wrote.
    for (qsizetype i = 0; i < count; i += 8) std::memcpy(to + i, from + i, 8);
  } else if (distance >= 4) {
    for (qsizetype i = 0; i < count; i += 4) std::memcpy(to + i, from + i, 4);
  } else if (distance == 1) {
    std::memset(to, *from, size_t(count));
  } else {
    // The match overlaps its own output: it repeats the last `distance` bytes.
    for (qsizetype i = 0; i < count; ++i) to[i] = from[i];
  }
}

Error streamError(const QString& message) { return makeError(ErrorKind::Malformed, message); }

QString at(qsizetype position) {
  return QStringLiteral("RefPack stream at ") + hexOffset(position);
}

// Decodes until `wanted` bytes (at most the declared size) are out.
Expected<Decompressed, Error> decode(QByteArrayView input, qsizetype maxSize, qsizetype wanted) {
  const std::optional<RefpackHeader> header = findRefpackHeader(input);
  if (!header) return Unexpected(makeError(ErrorKind::NotFsh, QStringLiteral("no RefPack header")));
  const qint64 declared = header->declaredSize;
  if (declared > maxSize) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("RefPack stream declares %1 bytes, more than the "
                                               "limit of %2")
                                    .arg(declared)
                                    .arg(maxSize)));
  }
  if (declared > (input.size() - header->dataStart) * MaxExpansion) {
    return Unexpected(streamError(QStringLiteral("RefPack stream of %1 bytes cannot hold the "
                                                 "declared %2 bytes")
                                      .arg(input.size())
                                      .arg(declared)));
  }
  const qsizetype target = std::min<qsizetype>(declared, wanted);
  QByteArray output(target + CopySlack, Qt::Uninitialized);
  auto* out = reinterpret_cast<uchar*>(output.data());
  const auto* begin = reinterpret_cast<const uchar*>(input.data());
  const uchar* in = begin + header->dataStart;
  const uchar* const end = begin + input.size();
  qsizetype produced = 0;

  while (produced < target) {
    if (in == end) [[unlikely]] {
      return Unexpected(streamError(QStringLiteral("RefPack stream ends after %1 of the declared "
                                                   "%2 bytes")
                                        .arg(produced)
                                        .arg(declared)));
    }
    const qsizetype codeAt = in - begin;
    const uint8_t b0 = in[0];
    qsizetype literals = 0;
    qsizetype length = 0;
    qsizetype distance = 0;
    bool stop = false;
    if (b0 < 0xE0) {
      const int codeSize = b0 < 0x80 ? 2 : b0 < 0xC0 ? 3 : 4;
      if (end - in < codeSize) [[unlikely]] {
        return Unexpected(streamError(
            QStringLiteral("RefPack stream ends inside a match at %1").arg(hexOffset(codeAt))));
      }
      if (b0 < 0x80) {
        literals = b0 & 3;
        length = ((b0 >> 2) & 7) + 3;
        distance = ((b0 & 0x60) << 3) + in[1] + 1;
      } else if (b0 < 0xC0) {
        literals = in[1] >> 6;
        length = (b0 & 0x3F) + 4;
        distance = ((in[1] & 0x3F) << 8) + in[2] + 1;
      } else {
        literals = b0 & 3;
        length = ((b0 & 0x0C) << 6) + in[3] + 5;
        distance = ((b0 & 0x10) << 12) + (in[1] << 8) + in[2] + 1;
      }
      in += codeSize;
    } else if (b0 < 0xFC) {
      literals = ((b0 & 0x1F) << 2) + 4;
      in += 1;
    } else {
      literals = b0 & 3;
      stop = true;
      in += 1;
    }

    if (produced + literals + length > declared) [[unlikely]] {
      return Unexpected(
          streamError(QStringLiteral("%1: %2 more bytes run past the declared size %3")
                          .arg(at(codeAt))
                          .arg(literals + length)
                          .arg(declared)));
    }
    // Only what is wanted needs to be there: a peek may stop inside a run.
    const qsizetype literalCopy = std::min(literals, target - produced);
    if (end - in < literalCopy) [[unlikely]] {
      return Unexpected(streamError(QStringLiteral("RefPack stream ends inside the literal run "
                                                   "at %1: %2 bytes announced, %3 left")
                                        .arg(hexOffset(codeAt))
                                        .arg(literals)
                                        .arg(end - in)));
    }
    copyLiterals(out + produced, in, literalCopy, end - in);
    produced += literalCopy;
    if (literalCopy < literals) break;
    in += literals;

    if (length > 0) {
      if (distance > produced) [[unlikely]] {
        return Unexpected(streamError(QStringLiteral("%1: match distance %2 reaches before the "
                                                     "start of the output (%3 bytes written)")
                                          .arg(at(codeAt))
                                          .arg(distance)
                                          .arg(produced)));
      }
      const qsizetype copy = std::min(length, target - produced);
      copyMatch(out + produced, distance, copy);
      produced += copy;
    }
    if (stop && produced < target) [[unlikely]] {
      return Unexpected(streamError(QStringLiteral("RefPack stream stops after %1 of the declared "
                                                   "%2 bytes")
                                        .arg(produced)
                                        .arg(declared)));
    }
  }
  // A stream that ends with a stop code carrying no literals: the code is part of it.
  if (target == declared && in != end && *in == 0xFC) ++in;
  output.truncate(target);
  return Decompressed{std::move(output), in - begin};
}

// The compressor's output, control code by control code.
class Encoder {
 public:
  explicit Encoder(QByteArrayView input)
      : m_input(input), m_previous(size_t(ringSize(input.size())), -1) {}

  QByteArray run();

 private:
  struct Match {
    int length = 0;
    qsizetype distance = 0;
  };

  static constexpr int HashBits = 16;
  static constexpr int MaxChain = 48;

  uint32_t hashAt(qsizetype position) const {
    const auto* b = reinterpret_cast<const uchar*>(m_input.data()) + position;
    return ((uint32_t(b[0]) << 16 | uint32_t(b[1]) << 8 | b[2]) * 2654435761u) >> (32 - HashBits);
  }
  void insert(qsizetype position);
  Match findMatch(qsizetype position) const;
  static bool encodable(int length, qsizetype distance) {
    return (length >= 3 && distance <= 1024) || (length >= 4 && distance <= 16384) ||
           (length >= 5 && distance <= Window);
  }
  void emitLiteralRuns(qsizetype upTo);
  void emitMatch(const Match& match, int literals);

  QByteArrayView m_input;
  QByteArray m_output;
  qsizetype m_literalStart = 0;
  std::vector<int32_t> m_head = std::vector<int32_t>(size_t(1) << HashBits, -1);
  // The previous position with the same hash, for the last window of positions;
  // a short input needs no more slots than it has positions.
  std::vector<int32_t> m_previous;

  static qsizetype ringSize(qsizetype inputSize) {
    qsizetype size = 1;
    while (size < inputSize && size < Window) size *= 2;
    return size;
  }
  qsizetype slot(qsizetype position) const { return position & qsizetype(m_previous.size() - 1); }
};

void Encoder::insert(qsizetype position) {
  if (position + 3 > m_input.size()) return;
  const uint32_t hash = hashAt(position);
  m_previous[slot(position)] = m_head[hash];
  m_head[hash] = int32_t(position);
}

Encoder::Match Encoder::findMatch(qsizetype position) const {
  Match best;
  const qsizetype available = std::min<qsizetype>(MaxMatch, m_input.size() - position);
  if (available < 3) return best;
  const char* data = m_input.data();
  int32_t candidate = m_head[hashAt(position)];
  for (int chain = 0; candidate >= 0 && chain < MaxChain; ++chain) {
    const qsizetype distance = position - candidate;
    if (distance > Window) break;
    if (data[candidate + best.length] == data[position + best.length]) {
      int length = 0;
      while (length < available && data[candidate + length] == data[position + length]) ++length;
      if (length > best.length && encodable(length, distance)) {
        best = {length, distance};
        if (length == available) break;
      }
    }
    const int32_t previous = m_previous[slot(candidate)];
    // A slot reused by a newer position ends the chain.
    if (previous >= candidate) break;
    candidate = previous;
  }
  return best;
}

void Encoder::emitLiteralRuns(qsizetype upTo) {
  // Runs of 4..112 literals, a multiple of 4; up to 3 ride with the next code.
  while (upTo - m_literalStart >= 4) {
    const int run =
        int(std::min<qsizetype>(MaxLiteralRun, (upTo - m_literalStart) & ~qsizetype(3)));
    m_output.append(char(0xE0 + ((run - 4) >> 2)));
    m_output.append(m_input.data() + m_literalStart, run);
    m_literalStart += run;
  }
}

// The shortest of the three match codes that can say it, then its 0-3 literals.
void Encoder::emitMatch(const Match& match, int literals) {
  const qsizetype d = match.distance - 1;
  const int length = match.length;
  if (length <= 10 && match.distance <= 1024) {
    m_output.append(char(((d >> 3) & 0x60) | ((length - 3) << 2) | literals));
    m_output.append(char(d & 0xFF));
  } else if (length <= 67 && match.distance <= 16384) {
    m_output.append(char(0x80 | (length - 4)));
    m_output.append(char(literals << 6 | d >> 8));
    m_output.append(char(d & 0xFF));
  } else {
    m_output.append(char(0xC0 | ((d >> 16) << 4) | (((length - 5) >> 8) << 2) | literals));
    m_output.append(char((d >> 8) & 0xFF));
    m_output.append(char(d & 0xFF));
    m_output.append(char((length - 5) & 0xFF));
  }
  m_output.append(m_input.data() + m_literalStart, literals);
}

QByteArray Encoder::run() {
  const qsizetype size = m_input.size();
  const bool wide = size >= (qsizetype(1) << 24);
  m_output.reserve(size / 2 + 16);
  m_output.append(char(wide ? StandardFlag | WideSizeFlag : StandardFlag));
  m_output.append(char(Signature));
  for (int shift = wide ? 24 : 16; shift >= 0; shift -= 8) m_output.append(char(size >> shift));

  qsizetype position = 0;
  while (position < size) {
    const Match match = findMatch(position);
    if (match.length == 0) {
      insert(position);
      ++position;
      continue;
    }
    emitLiteralRuns(position);
    emitMatch(match, int(position - m_literalStart));
    for (qsizetype i = 0; i < match.length; ++i) insert(position + i);
    position += match.length;
    m_literalStart = position;
  }
  emitLiteralRuns(size);
  const int rest = int(size - m_literalStart);
  m_output.append(char(0xFC | rest));
  m_output.append(m_input.data() + m_literalStart, rest);
  return m_output;
}

}  // namespace

std::optional<RefpackHeader> findRefpackHeader(QByteArrayView bytes) {
  if (auto header = headerAt(bytes, 0)) return header;
  return headerAt(bytes, 4);
}

Expected<Decompressed, Error> refpackDecompress(QByteArrayView input, qsizetype maxSize) {
  return decode(input, maxSize, std::numeric_limits<qsizetype>::max());
}

Expected<QByteArray, Error> refpackPeek(QByteArrayView input, qsizetype count) {
  auto result = decode(input, Layout::MaxFileSize, count);
  if (!result) return Unexpected(std::move(result).error());
  return std::move(result->bytes);
}

Expected<QByteArray, Error> refpackCompress(QByteArrayView input) {
  if (input.size() > Layout::MaxFileSize) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("%1 bytes are more than the compression limit of %2")
                                    .arg(input.size())
                                    .arg(Layout::MaxFileSize)));
  }
  return Encoder(input).run();
}

}  // namespace fsh
