#include "fuzz_inputs.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The longest strings the targets read: an identifier far longer than 7
// characters, an old target, and an import file as long as an input may be.
constexpr size_t MaxIdentifier = 64;
constexpr size_t MaxOldTarget = 256;
constexpr size_t MaxImage = 1 << 16;

QByteArray string(FuzzedDataProvider& input, size_t maxLength) {
  return QByteArray::fromStdString(input.ConsumeRandomLengthString(maxLength));
}

QByteArray rest(FuzzedDataProvider& input) {
  return QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
}

// The string and the terminator ConsumeRandomLengthString stops at.
QByteArray escaped(const QByteArray& text) {
  QByteArray escaped;
  for (const char c : text) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped + "\\;";
}

}  // namespace

SaveInput SaveInput::parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto options = input.ConsumeIntegral<uint8_t>();
  SaveInput parsed;
  parsed.boxes = static_cast<SaveBoxes>(options & 3);
  parsed.target = static_cast<SaveTarget>((options >> 2) & 3);
  parsed.identifier = string(input, MaxIdentifier);
  if (parsed.target == SaveTarget::ExistingFile) parsed.oldTarget = string(input, MaxOldTarget);
  parsed.archive = rest(input);
  return parsed;
}

QByteArray SaveInput::encode() const {
  QByteArray bytes = escaped(identifier);
  if (target == SaveTarget::ExistingFile) bytes += escaped(oldTarget);
  return bytes + archive +
         static_cast<char>(static_cast<uint8_t>(boxes) | static_cast<uint8_t>(target) << 2);
}

ImportInput ImportInput::parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ImportInput parsed;
  parsed.image = string(input, MaxImage);
  parsed.archive = rest(input);
  return parsed;
}

QByteArray ImportInput::encode() const { return escaped(image) + archive; }

ExportInput ExportInput::parse(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ExportInput parsed;
  parsed.target = static_cast<ExportTarget>(input.ConsumeIntegralInRange<uint8_t>(0, 2));
  if (parsed.target == ExportTarget::ExistingFile) parsed.oldTarget = string(input, MaxOldTarget);
  parsed.archive = rest(input);
  return parsed;
}

QByteArray ExportInput::encode() const {
  QByteArray bytes = target == ExportTarget::ExistingFile ? escaped(oldTarget) : QByteArray();
  return bytes + archive + static_cast<char>(target);
}

RawWord littleEndianAt(const QByteArray& bytes, int64_t at) {
  if (at < 0 || at > bytes.size() - 4) return {};
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<uint8_t>(bytes.at(static_cast<qsizetype>(at + i)));
  return {true, static_cast<int32_t>(value)};
}

RawWord bigEndianAt(const QByteArray& bytes, int64_t at) {
  if (at < 0 || at > bytes.size() - 4) return {};
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = value << 8 | static_cast<uint8_t>(bytes.at(static_cast<qsizetype>(at + i)));
  return {true, static_cast<int32_t>(value)};
}
