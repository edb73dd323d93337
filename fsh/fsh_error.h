#pragma once

#include <QString>

namespace fsh {

// What kind of problem stopped the codec, for callers that react differently to
// a damaged file and to a request the codec cannot fulfil.
enum class ErrorKind {
  NotFsh,          // the bytes are neither an FSH image nor a compressed one
  Malformed,       // a field contradicts the file: offsets, sizes, block chains, streams
  TooLarge,        // beyond what the codec accepts: dimensions, declared sizes, entries
  Unsupported,     // a pixel format the codec does not read or write
  InvalidRequest,  // the caller's request does not fit the file: picture size, mipmaps
  Stopped,         // the caller stopped an encode before it finished
};

// The codec's one error type: a kind to switch on and a sentence for a person
// that says what is wrong and where ("block at 0x1A0: width 4097 is larger than 4096").
struct Error {
  ErrorKind kind = ErrorKind::Malformed;
  QString message;
};

Error makeError(ErrorKind kind, const QString& message);
// The same error with where it happened put in front: "block at 0x40: " + message.
Error withContext(Error error, const QString& context);

// 0x1A0: file positions in messages.
QString hexOffset(qint64 offset);
// 0x7B: codes in messages, always two digits.
QString hexCode(unsigned code);

}  // namespace fsh
