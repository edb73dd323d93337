#include "archive/portrait_image.h"

#include <QtEndian>
#include <algorithm>
#include <optional>
#include <vector>

#include "archive/archive_inspection.h"
#include "archive/archive_layout.h"
#include "archive/prepared_file.h"
#include "fileio/checked_arithmetic.h"
#include "fileio/file_reader.h"
#include "fileio/file_replacement.h"
#include "fileio/regular_file.h"

namespace archive {

namespace {

using Kind = ArchiveError::Kind;

// Where member 4's image lies, its length taken from the image's own length word.
struct ImagePlace {
  int32_t offset;
  int32_t length;
};

// The header and directory of an archive that passes the size check. A file
// shorter than the header cannot: it does not even hold a whole size field.
Expected<ArchiveFixedPart, ArchiveError> readFixedPart(const fileio::FileReader& archive) {
  if (archive.length() < ArchiveLayout::HeaderSize)
    return Unexpected(ArchiveError::of(Kind::SizeMismatch));
  const auto header = readHeader(archive);
  if (!header) return Unexpected(header.error());
  if (header->archiveSize != archive.length())
    return Unexpected(ArchiveError::of(Kind::SizeMismatch));
  const auto bytes = archive.readAt(0, ArchiveLayout::FixedPartSize);
  if (!bytes) return Unexpected(bytes.error());
  return ArchiveFixedPart::parse(*bytes);
}

// An image whose length word says `length` must be long enough to hold the
// word and lie wholly inside the archive.
Expected<ImagePlace, ArchiveError> checkImagePlace(const fileio::FileReader& archive,
                                                   int32_t offset, int32_t length) {
  if (length < ArchiveLayout::ImageStartSize)
    return Unexpected(ArchiveError{Kind::NoImageLength, length, {}, {}});
  if (length > archive.length() - offset) return Unexpected(ArchiveError::of(Kind::ImagePastEnd));
  return ImagePlace{offset, length};
}

// The image must hold its own length word and lie wholly inside the archive;
// both are checked before its bytes are read or anything is allocated for them.
Expected<ImagePlace, ArchiveError> locateImage(const fileio::FileReader& archive,
                                               const ArchiveFixedPart& fixedPart) {
  const int32_t offset = fixedPart.entries[3].memberOffset;
  const auto length = portraitLengthWord(archive, offset);
  if (!length) return Unexpected(length.error());
  return checkImagePlace(archive, offset, *length);
}

Expected<ImagePlace, ArchiveError> locateImage(const fileio::FileReader& archive) {
  const auto fixedPart = readFixedPart(archive);
  if (!fixedPart) return Unexpected(fixedPart.error());
  return locateImage(archive, *fixedPart);
}

bool isLastMember(const ArchiveFixedPart& fixedPart, int32_t offset) {
  return std::none_of(fixedPart.entries.begin(), fixedPart.entries.end(),
                      [offset](const DirEntry& entry) { return entry.memberOffset > offset; });
}

// Where the image to be replaced lies. A portrait whose own length is damaged
// (too small, past the end, cut off inside its header) is no obstacle where
// nothing follows it: the new image then takes everything from its offset to
// the end of the file.
Expected<ImagePlace, ArchiveError> imageToReplace(const fileio::FileReader& archive,
                                                  const ArchiveFixedPart& fixedPart) {
  auto current = locateImage(archive, fixedPart);
  if (current) return current;
  const int32_t offset = fixedPart.entries[3].memberOffset;
  const Kind fault = current.error().kind;
  const bool damagedLength =
      fault == Kind::NoImageLength || fault == Kind::ImagePastEnd || fault == Kind::PastEndOfFile;
  if (!damagedLength || !isLastMember(fixedPart, offset) || offset < ArchiveLayout::FixedPartSize ||
      offset > archive.length())
    return current;
  return ImagePlace{offset, static_cast<int32_t>(archive.length() - offset)};
}

// An image to put in place of the portrait: its first bytes, and all of them,
// from a file or from memory.
struct NewImage {
  qint64 length = 0;
  QByteArray start;  // up to ImageStartSize bytes
  fileio::ContentPiece content;
  QString path;  // the image file, where it comes from one
};

// An FSH image starts with its signature, and its own length word is its size.
Expected<void, ArchiveError> checkImage(const NewImage& image) {
  const auto fault = [&image](Kind kind) {
    ArchiveError error = ArchiveError::of(kind);
    error.path = image.path;
    return Unexpected(std::move(error));
  };
  if (image.length == 0) return fault(Kind::EmptyImageFile);
  if (!image.start.startsWith(ArchiveLayout::ImageSignature)) return fault(Kind::NoImageSignature);
  if (image.start.size() < ArchiveLayout::ImageStartSize ||
      qFromLittleEndian<int32_t>(image.start.constData() + ArchiveLayout::ImageLengthOffset) !=
          image.length)
    return fault(Kind::NotAnImage);
  return {};
}

// The archive as Load sees it must stay so: the new image may not change the
// bytes that tell its kind, where its name table ends or its identifier,
// which overlapping members can put inside the image.
Expected<fileio::FileReader, ArchiveError> readNewContent(const NewFile& made) {
  if (const auto* prepared = std::get_if<PreparedFile>(&made)) return prepared->readPrepared();
  const auto memory = memoryFile(std::get<PlannedFile>(made));
  if (!memory) return Unexpected(memory.error());
  return fileio::FileReader::openDuplicate(memory->handle(), pathOf(made));
}

Expected<void, ArchiveError> checkLoadsAlike(const fileio::FileReader& archive,
                                             const NewFile& made) {
  const auto before = inspectArchive(archive);
  if (!before) return {};  // Load refuses it already; Import does not need it to load
  const auto prepared = readNewContent(made);
  if (!prepared) return Unexpected(prepared.error());
  const auto after = inspectArchive(*prepared);
  if (!after || after->kind != before->kind || after->identifier != before->identifier)
    return Unexpected(ArchiveError::of(Kind::ImageOverLoadBytes));
  return {};
}

// Prepares the archive's new content with image in place of member 4; the old
// image itself is never read.
Expected<NewFile, ArchiveError> makeReplaceImage(const QString& archivePath, const NewImage& image,
                                                 Making how) {
  if (auto checked = checkImage(image); !checked) return Unexpected(checked.error());
  const auto archive = fileio::FileReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  const auto fixedPart = readFixedPart(*archive);
  if (!fixedPart) return Unexpected(fixedPart.error());
  const auto current = imageToReplace(*archive, *fixedPart);
  if (!current) return Unexpected(current.error());
  // Writing there would change the header and directory the archive is read by.
  if (current->offset < ArchiveLayout::FixedPartSize)
    return Unexpected(ArchiveError::of(Kind::ImageOverDirectory));
  const auto imageLength = static_cast<int32_t>(image.length);
  const bool resized = imageLength != current->length;
  if (resized && !isLastMember(*fixedPart, current->offset))
    return Unexpected(ArchiveError::of(Kind::ImageLengthDiffers));

  auto head = archive->readAt(0, ArchiveLayout::FixedPartSize);
  if (!head) return Unexpected(head.error());
  if (resized) {
    // The size field and entry 4's size follow the new image, so the archive
    // still passes the size check.
    const auto rest =
        fileio::checkedDifference(static_cast<int32_t>(archive->length()), current->length);
    if (!rest) return Unexpected(rest.error());
    const auto newSize = fileio::checkedSum(*rest, imageLength);
    if (!newSize) return Unexpected(newSize.error());
    qToLittleEndian<int32_t>(*newSize, head->data() + ArchiveLayout::ArchiveSizeOffset);
    qToBigEndian<int32_t>(imageLength, head->data() + ArchiveLayout::EntryOffsets[3] +
                                           ArchiveLayout::MemberSizeInEntry);
  }
  const qint64 imageEnd = qint64{current->offset} + current->length;
  const auto beforeImage = fileio::ContentPiece::range(
      *archive, ArchiveLayout::FixedPartSize, current->offset - ArchiveLayout::FixedPartSize);
  const auto afterImage =
      fileio::ContentPiece::range(*archive, imageEnd, archive->length() - imageEnd);
  if (!beforeImage) return Unexpected(beforeImage.error());
  if (!afterImage) return Unexpected(afterImage.error());
  // A plan keeps the content, which the check below reads.
  auto replacement =
      makeFile(archivePath, {QByteArrayView(*head), *beforeImage, image.content, *afterImage},
               how == Making::Prepare ? how : Making::PlanKeepingContent);
  if (!replacement) return Unexpected(replacement.error());
  if (auto alike = checkLoadsAlike(*archive, *replacement); !alike)
    return Unexpected(alike.error());
  return replacement;
}

}  // namespace

Expected<PortraitRange, ArchiveError> locatePortrait(const fileio::FileReader& archive) {
  const auto image = locateImage(archive);
  if (!image) return Unexpected(image.error());
  return PortraitRange{image->offset, image->length};
}

Expected<PortraitRange, ArchiveError> locatePortrait(const fileio::FileReader& archive,
                                                     const ArchiveInfo& info) {
  // Without a length word inspecting found, the reason it is missing is the reader's.
  if (!info.portrait.ownLength) return locatePortrait(archive);
  const auto image = checkImagePlace(archive, info.portrait.offset, *info.portrait.ownLength);
  if (!image) return Unexpected(image.error());
  return PortraitRange{image->offset, image->length};
}

Expected<QByteArray, ArchiveError> readPortrait(const QString& archivePath) {
  const auto archive = fileio::FileReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  const auto image = locateImage(*archive);
  if (!image) return Unexpected(image.error());
  return archive->readAt(image->offset, image->length);
}

Expected<NewFile, ArchiveError> makeExportPortrait(const QString& archivePath,
                                                   const QString& targetPath, Making how) {
  const auto archive = fileio::FileReader::open(archivePath);
  if (!archive) return Unexpected(archive.error());
  // However it is named: writing the image over the archive would lose the rest of it.
  if (fileio::identityOf(targetPath) == archive->identity())
    return Unexpected(ArchiveError(Kind::TargetIsArchive, 0, {}, targetPath));
  const auto image = locateImage(*archive);
  if (!image) return Unexpected(image.error());
  const auto content = fileio::ContentPiece::range(*archive, image->offset, image->length);
  if (!content) return Unexpected(content.error());
  return makeFile(targetPath, {*content}, how);
}

Expected<void, ArchiveError> exportPortrait(const QString& archivePath, const QString& targetPath) {
  return commitMade(makeExportPortrait(archivePath, targetPath, Making::Prepare));
}

Expected<NewFile, ArchiveError> makeImportPortrait(const QString& archivePath,
                                                   const QString& imagePath, Making how) {
  // The image file is opened and checked before the archive is looked at.
  const auto file = fileio::FileReader::open(imagePath);
  if (!file) return Unexpected(file.error());
  // An archive's size field is where an image keeps its length, so the archive
  // itself would pass for an image of its own length.
  if (fileio::identityOf(archivePath) == file->identity())
    return Unexpected(ArchiveError(Kind::ImageIsArchive, 0, {}, imagePath));
  const auto start =
      file->readAt(0, std::min<qint64>(file->length(), ArchiveLayout::ImageStartSize));
  if (!start) return Unexpected(start.error());
  const auto content = fileio::ContentPiece::range(*file, 0, file->length());
  if (!content) return Unexpected(content.error());
  return makeReplaceImage(archivePath, {file->length(), *start, *content, imagePath}, how);
}

Expected<void, ArchiveError> importPortrait(const QString& archivePath, const QString& imagePath) {
  return commitMade(makeImportPortrait(archivePath, imagePath, Making::Prepare));
}

Expected<NewFile, ArchiveError> makeImportPortraitBytes(const QString& archivePath,
                                                        const QByteArray& image, Making how) {
  return makeReplaceImage(
      archivePath,
      {image.size(), image.left(ArchiveLayout::ImageStartSize), QByteArrayView(image), QString()},
      how);
}

Expected<void, ArchiveError> importPortraitBytes(const QString& archivePath,
                                                 const QByteArray& image) {
  return commitMade(makeImportPortraitBytes(archivePath, image, Making::Prepare));
}

}  // namespace archive
