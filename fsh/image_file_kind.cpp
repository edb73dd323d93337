#include "fsh/image_file_kind.h"

#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"

namespace fsh {

FileKind fileKindOf(QByteArrayView start) {
  if (!looksLikeFsh(start)) return FileKind::Other;
  return start.startsWith(QByteArrayView(Layout::Magic, Layout::MagicSize))
             ? FileKind::Image
             : FileKind::CompressedImage;
}

Expected<void, Error> checkCompressedFileLength(qint64 length) {
  if (length > Layout::MaxFileSize)
    return Unexpected(
        makeError(ErrorKind::TooLarge, QStringLiteral("the compressed file is larger than %1 MiB")
                                           .arg(Layout::MaxFileSize >> 20)));
  return {};
}

Expected<QByteArray, Error> unpackImageFile(const QByteArray& bytes) {
  auto file = parseFsh(bytes);
  if (!file) return Unexpected(std::move(file).error());
  return std::move(file->bytes);
}

}  // namespace fsh
