#include "fuzz_inputs.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The longest strings the targets read: an identifier far longer than 7
// characters, an old target, and an import file as long as an input may be.
constexpr size_t MaxIdentifier = 64;
constexpr size_t MaxOldTarget = 256;
constexpr size_t MaxImage = 1 << 16;

QByteArray String(FuzzedDataProvider& input, size_t maxLength) {
  return QByteArray::fromStdString(input.ConsumeRandomLengthString(maxLength));
}

QByteArray Rest(FuzzedDataProvider& input) {
  return QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
}

// The string and the terminator ConsumeRandomLengthString stops at.
QByteArray Escaped(const QByteArray& text) {
  QByteArray escaped;
  for (const char c : text) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped + "\\;";
}

}  // namespace

SaveInput SaveInput::Parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto options = input.ConsumeIntegral<uint8_t>();
  SaveInput parsed;
  parsed.Boxes = static_cast<SaveBoxes>(options & 3);
  parsed.Target = static_cast<SaveTarget>((options >> 2) & 3);
  parsed.Identifier = String(input, MaxIdentifier);
  if (parsed.Target == SaveTarget::ExistingFile) parsed.OldTarget = String(input, MaxOldTarget);
  parsed.Archive = Rest(input);
  return parsed;
}

QByteArray SaveInput::Encode() const {
  QByteArray bytes = Escaped(Identifier);
  if (Target == SaveTarget::ExistingFile) bytes += Escaped(OldTarget);
  return bytes + Archive +
         static_cast<char>(static_cast<uint8_t>(Boxes) | static_cast<uint8_t>(Target) << 2);
}

ImportInput ImportInput::Parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ImportInput parsed;
  parsed.Image = String(input, MaxImage);
  parsed.Archive = Rest(input);
  return parsed;
}

QByteArray ImportInput::Encode() const { return Escaped(Image) + Archive; }

ExportInput ExportInput::Parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ExportInput parsed;
  parsed.Target = static_cast<ExportTarget>(input.ConsumeIntegralInRange<uint8_t>(0, 2));
  if (parsed.Target == ExportTarget::ExistingFile) parsed.OldTarget = String(input, MaxOldTarget);
  parsed.Archive = Rest(input);
  return parsed;
}

QByteArray ExportInput::Encode() const {
  QByteArray bytes = Target == ExportTarget::ExistingFile ? Escaped(OldTarget) : QByteArray();
  return bytes + Archive + static_cast<char>(Target);
}

RawWord LittleEndianAt(const QByteArray& bytes, int64_t at) {
  if (at < 0 || at > bytes.size() - 4) return {};
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes.at(static_cast<qsizetype>(at + i)));
  return {true, static_cast<int32_t>(value)};
}

RawWord BigEndianAt(const QByteArray& bytes, int64_t at) {
  if (at < 0 || at > bytes.size() - 4) return {};
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes.at(static_cast<qsizetype>(at + i)));
  return {true, static_cast<int32_t>(value)};
}
