#include "fileio/file_error.h"

#include <sys/stat.h>

#include <cstring>

namespace fileio {

namespace {

// The numbers and words the editor has always reported these failures with.
constexpr int OverflowNumber = 6;
constexpr int PastEndOfFileNumber = 62;
constexpr int BadPositionNumber = 63;

QString systemWords(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

}  // namespace

FileError FileError::system(int errorNumber, const QString& path) {
  return system(Kind::SystemError, errorNumber, path);
}

FileError FileError::system(Kind kind, int errorNumber, const QString& path) {
  return {kind, errorNumber, systemWords(errorNumber), path};
}

FileError FileError::notRegularFile(const QString& path, unsigned fileType) {
  return {Kind::NotRegularFile, static_cast<int>(fileType & S_IFMT), {}, path};
}

FileError FileError::positionBeforeStart(const QString& path) {
  return {Kind::PositionBeforeStart, BadPositionNumber, QStringLiteral("Bad record number"), path};
}

FileError FileError::pastEndOfFile(const QString& path) {
  return {Kind::PastEndOfFile, PastEndOfFileNumber, QStringLiteral("Input past end of file"), path};
}

FileError FileError::overflow(const QString& path) {
  return {Kind::Overflow, OverflowNumber, QStringLiteral("Overflow"), path};
}

}  // namespace fileio
