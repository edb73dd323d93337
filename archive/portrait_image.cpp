#include "archive/portrait_image.h"

#include <QtEndian>
#include <algorithm>
#include <optional>
#include <vector>

#include "archive/archive_inspection.h"
#include "archive/archive_layout.h"
#include "archive/archive_reader.h"
#include "archive/checked_arithmetic.h"
#include "archive/file_replacement.h"

namespace {

using Kind = ArchiveError::Kind;

// Where member 4's image lies, its length taken from the image's own length word.
struct ImagePlace {
  int32_t offset;
  int32_t length;
};

// The header and directory of an archive that passes the size check.
Expected<ArchiveFixedPart, ArchiveError> readFixedPart(const ArchiveReader& archive) {
  const auto header = readHeader(archive);
  if (!header) return Unexpected(header.error());
  if (header->archiveSize != archive.length())
    return Unexpected(ArchiveError::of(Kind::SizeMismatch));
  const auto bytes = archive.readAt(0, ArchiveLayout::FixedPartSize);
  if (!bytes) return Unexpected(bytes.error());
  return ArchiveFixedPart::parse(*bytes);
}

// The image must hold its own length word and lie wholly inside the archive;
// both are checked before its bytes are read or anything is allocated for them.
Expected<ImagePlace, ArchiveError> locateImage(const ArchiveReader& archive,
                                               const ArchiveFixedPart& fixedPart) {
  const int32_t offset = fixedPart.entries[3].memberOffset;
  const auto length = portraitLengthWord(archive, offset);
  if (!length) return Unexpected(length.error());
  if (*length < ArchiveLayout::ImageStartSize)
    return Unexpected(ArchiveError::of(Kind::NoImageLength));
  if (*length > archive.length() - offset) return Unexpected(ArchiveError::of(Kind::ImagePastEnd));
  return ImagePlace{offset, *length};
}

Expected<ImagePlace, ArchiveError> locateImage(const ArchiveReader& archive) {
  const auto fixedPart = readFixedPart(archive);
  if (!fixedPart) return Unexpected(fixedPart.error());
  return locateImage(archive, *fixedPart);
}

// An image to put in place of the portrait: its bytes, from a file or from memory.
struct NewImage {
  qint64 length = 0;
  std::optional<int32_t> lengthWord;  // where the image is long enough to hold one
  ContentPiece content;
};

// An FSH image's own length word must be its size.
Expected<void, ArchiveError> checkImage(const NewImage& image) {
  if (image.length == 0) return Unexpected(ArchiveError::of(Kind::EmptyImageFile));
  if (!image.lengthWord || *image.lengthWord != image.length)
    return Unexpected(ArchiveError::of(Kind::NotAnImage));
  return {};
}

// Writes the archive's new content with image in place of member 4; the old
// image itself is never read.
Expected<void, ArchiveError> replaceImage(const QString& archivePath, const NewImage& image) {
  if (auto checked = checkImage(image); !checked) return checked;
  const auto archive = ArchiveReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  const auto fixedPart = readFixedPart(*archive);
  if (!fixedPart) return Unexpected(fixedPart.error());
  const auto current = locateImage(*archive, *fixedPart);
  if (!current) return Unexpected(current.error());
  // Writing there would change the header and directory the archive is read by.
  if (current->offset < ArchiveLayout::FixedPartSize)
    return Unexpected(ArchiveError::of(Kind::ImageOverDirectory));
  const auto imageLength = static_cast<int32_t>(image.length);
  const bool resized = imageLength != current->length;
  const bool isLast = std::none_of(
      fixedPart->entries.begin(), fixedPart->entries.end(),
      [&current](const DirEntry& entry) { return entry.memberOffset > current->offset; });
  if (resized && !isLast) return Unexpected(ArchiveError::of(Kind::ImageLengthDiffers));

  auto head = archive->readAt(0, ArchiveLayout::FixedPartSize);
  if (!head) return Unexpected(head.error());
  if (resized) {
    // The size field and entry 4's size follow the new image, so the archive
    // still passes the size check.
    const auto rest = checkedDifference(static_cast<int32_t>(archive->length()), current->length);
    if (!rest) return Unexpected(rest.error());
    const auto newSize = checkedSum(*rest, imageLength);
    if (!newSize) return Unexpected(newSize.error());
    qToLittleEndian<int32_t>(*newSize, head->data() + ArchiveLayout::ArchiveSizeOffset);
    qToBigEndian<int32_t>(imageLength, head->data() + ArchiveLayout::EntryOffsets[3] +
                                           ArchiveLayout::MemberSizeInEntry);
  }
  const qint64 imageEnd = qint64{current->offset} + current->length;
  const auto beforeImage = ContentPiece::range(*archive, ArchiveLayout::FixedPartSize,
                                               current->offset - ArchiveLayout::FixedPartSize);
  const auto afterImage = ContentPiece::range(*archive, imageEnd, archive->length() - imageEnd);
  if (!beforeImage) return Unexpected(beforeImage.error());
  if (!afterImage) return Unexpected(afterImage.error());
  return replaceFileContents(archivePath,
                             {QByteArrayView(*head), *beforeImage, image.content, *afterImage});
}

}  // namespace

Expected<QByteArray, ArchiveError> readPortrait(const QString& archivePath) {
  const auto archive = ArchiveReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  const auto image = locateImage(*archive);
  if (!image) return Unexpected(image.error());
  return archive->readAt(image->offset, image->length);
}

Expected<void, ArchiveError> exportPortrait(const QString& archivePath, const QString& targetPath) {
  const auto archive = ArchiveReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  const auto image = locateImage(*archive);
  if (!image) return Unexpected(image.error());
  const auto content = ContentPiece::range(*archive, image->offset, image->length);
  if (!content) return Unexpected(content.error());
  return replaceFileContents(targetPath, {*content});
}

Expected<void, ArchiveError> importPortrait(const QString& archivePath, const QString& imagePath) {
  // The image file is opened and checked before the archive is looked at.
  const auto file = ArchiveReader::open(imagePath);
  if (!file) return Unexpected(file.error());
  std::optional<int32_t> lengthWord;
  if (file->length() >= ArchiveLayout::ImageStartSize) {
    const auto word = file->readWordAt(ArchiveLayout::ImageLengthOffset);
    if (!word) return Unexpected(word.error());
    lengthWord = *word;
  }
  const auto content = ContentPiece::range(*file, 0, file->length());
  if (!content) return Unexpected(content.error());
  return replaceImage(archivePath, {file->length(), lengthWord, *content});
}

Expected<void, ArchiveError> importPortraitBytes(const QString& archivePath,
                                                 const QByteArray& image) {
  std::optional<int32_t> lengthWord;
  if (image.size() >= ArchiveLayout::ImageStartSize)
    lengthWord = qFromLittleEndian<int32_t>(image.constData() + ArchiveLayout::ImageLengthOffset);
  return replaceImage(archivePath, {image.size(), lengthWord, QByteArrayView(image)});
}
