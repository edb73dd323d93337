#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// The inputs of the writing commands' targets, read with FuzzedDataProvider, and
// written back in the same layout so that the seed corpora mean what they say.
// Strings come first, each read as ConsumeRandomLengthString reads it (a doubled
// backslash is one backslash, a backslash and any other byte end the string);
// the archive is whatever follows; the options are the input's last byte.

enum class SaveBoxes : uint8_t { Player, Jersey, Both, Neither };
// Where Save writes: a new file, an existing file, over the archive, or a folder.
enum class SaveTarget : uint8_t { NewFile, ExistingFile, CurrentArchive, Folder };

//   <identifier, UTF-8>\;[<old target>\;]<archive><options: boxes | target << 2>
struct SaveInput {
  SaveBoxes boxes = SaveBoxes::Player;
  SaveTarget target = SaveTarget::NewFile;
  QByteArray identifier;
  QByteArray oldTarget;  // only with SaveTarget::ExistingFile
  QByteArray archive;

  static SaveInput parse(const uint8_t* data, size_t size);
  QByteArray encode() const;
  bool operator==(const SaveInput&) const = default;
};

//   <import file>\;<archive>
struct ImportInput {
  QByteArray image;
  QByteArray archive;

  static ImportInput parse(const uint8_t* data, size_t size);
  QByteArray encode() const;
  bool operator==(const ImportInput&) const = default;
};

enum class ExportTarget : uint8_t { NewFile, ExistingFile, Folder };

//   [<old target>\;]<archive><options: target>
struct ExportInput {
  ExportTarget target = ExportTarget::NewFile;
  QByteArray oldTarget;  // only with ExportTarget::ExistingFile
  QByteArray archive;

  static ExportInput parse(const uint8_t* data, size_t size);
  QByteArray encode() const;
  bool operator==(const ExportInput&) const = default;
};

// The words the invariants are stated in, read from raw bytes without the
// editor's own code; a word that does not lie wholly inside bytes is empty.
struct RawWord {
  bool inside = false;
  int64_t value = 0;
};
RawWord littleEndianAt(const QByteArray& bytes, int64_t at);
RawWord bigEndianAt(const QByteArray& bytes, int64_t at);
