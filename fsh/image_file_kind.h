#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include "common/expected.h"
#include "fsh/fsh_error.h"

// What a file offered as a portrait image holds, told by its content, not its
// name: every front end that imports a file recognises it by these.
namespace fsh {

// How much of a file's start tells: the magic, or a RefPack header and the
// first bytes it unpacks to. A front end can recognise picture formats in it too.
inline constexpr qint64 FileKindProbeSize = 4096;

enum class FileKind {
  Image,            // starts with SHPI: imported as it is
  CompressedImage,  // a RefPack stream whose output starts with SHPI: imported unpacked
  Other,            // neither
};

// The kind of a file whose first bytes (up to FileKindProbeSize of them) are start.
FileKind fileKindOf(QByteArrayView start);

// Refuses a compressed image file too long to be read whole and unpacked.
Expected<void, Error> checkCompressedFileLength(qint64 length);

// The plain image in the bytes of a whole compressed image file, checked as an
// FSH image: an archive's portrait carries its own length, which only the
// unpacked image has.
Expected<QByteArray, Error> unpackImageFile(const QByteArray& bytes);

}  // namespace fsh
