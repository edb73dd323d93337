#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"

// An FSH image taken apart: header, directory, and each entry's chain of blocks.
// Positions refer to the plain file, after any whole-file decompression.
namespace fsh {

struct Block {
  qsizetype offset = 0;       // of the block's 16-byte header
  qsizetype end = 0;          // where the next block of the entry starts, or the entry ends
  uint8_t code = 0;           // as stored, with the compression bit
  uint32_t nextDistance = 0;  // as stored; 0 marks the last block
  int width = 0;
  int height = 0;
  uint16_t xWord = 0;  // x position and flags
  uint16_t yWord = 0;  // y position and mipmap count

  uint8_t type() const;
  bool isCompressed() const;
  qsizetype dataOffset() const;
  qsizetype dataSize() const { return end - dataOffset(); }
  // The y word's mipmap count where it applies: only when the y position is 0,
  // the data is not compressed, and both sides divide by 2^count; otherwise 0.
  int mipmapCount() const;
};

struct Entry {
  QByteArray name;  // the directory's 4 characters, as stored
  qsizetype offset = 0;
  qsizetype end = 0;    // the next entry's offset, or the end of the file
  QList<Block> blocks;  // blocks[0]: the bitmap or palette; then its attachments
};

struct FshFile {
  QByteArray bytes;  // the plain file
  bool compressedAsWhole = false;
  uint32_t lengthField = 0;  // what the header says; may differ from bytes.size() in damaged files
  QByteArray directoryId;
  QList<Entry> entries;  // in directory order
};

// Starts with SHPI, or is a RefPack stream whose output starts with SHPI.
bool looksLikeFsh(QByteArrayView bytes);

// Takes the bytes apart; a file compressed as a whole is decompressed first.
// Checks the structure only: each bitmap's size and data are checked when it is
// decoded or replaced, so one damaged entry does not hide the others.
Expected<FshFile, Error> parseFsh(const QByteArray& bytes);

// The entry whose bitmap is the picture: the first whose first block is not a palette.
std::optional<int> mainBitmapEntry(const FshFile& file);

// An entry's name for messages: unprintable bytes shown as '?'.
QString printableName(const QByteArray& name);

}  // namespace fsh
