#include "archive/portrait_image.h"

#include <QtEndian>
#include <algorithm>

#include "archive/archive_check.h"
#include "archive/archive_layout.h"
#include "archive/archive_reader.h"
#include "archive/command_error.h"
#include "archive/editor_window.h"
#include "archive/file_replacement.h"
#include "archive/word_decoding.h"

namespace {

// A content problem with the archive or the image: shown in a plain message
// box, and nothing is written.
struct Refusal {
  const char* Text;
  const char* Caption;
};

constexpr Refusal NotAnArchive{"This is not a valid file format.", "Invalid File"};
constexpr Refusal EmptyImageFile{"The FSH file is empty.", "Invalid File"};
constexpr Refusal NotAnImage{
    "This is not an FSH image: its length field does not match the file's size.", "Invalid File"};
constexpr Refusal NoImageLength{"The portrait image in this archive has no valid length.",
                                "Invalid File"};
constexpr Refusal ImagePastEnd{
    "The portrait image in this archive reaches past the end of the file.", "Invalid File"};
constexpr Refusal ImageOverDirectory{"The portrait image in this archive overlaps its directory.",
                                     "Invalid File"};
constexpr Refusal ImageLengthDiffers{
    "This image differs in length from the archive's portrait, and other members follow the "
    "portrait: only an image of the same length can be imported.",
    "Error"};

// Where member 4's image lies, its length taken from the image's own length word.
struct ImagePlace {
  int32_t Offset;
  int32_t Length;
};

// The header and directory of an archive that passes the size check.
ArchiveFixedPart ReadFixedPart(ArchiveReader& archive) {
  if (ReadHeader(archive).ArchiveSize != archive.Length()) throw NotAnArchive;
  return ArchiveFixedPart::Parse(archive.ReadAt(0, ArchiveLayout::FixedPartSize));
}

// The image must hold its own length word and lie wholly inside the archive;
// both are checked before its bytes are read or anything is allocated for them.
ImagePlace LocateImage(ArchiveReader& archive, const ArchiveFixedPart& fixedPart) {
  const int32_t offset = fixedPart.Entries[3].MemberOffset;
  const QByteArray start = archive.ReadAt(offset, ArchiveLayout::ImageStartSize);
  const int32_t length = LittleEndianWord(start.constData() + ArchiveLayout::ImageLengthOffset);
  if (length < ArchiveLayout::ImageStartSize) throw NoImageLength;
  if (length > archive.Length() - offset) throw ImagePastEnd;
  return {offset, length};
}

// An FSH image's own length word must be its file's size.
void CheckImportFile(ArchiveReader& file) {
  if (file.Length() == 0) throw EmptyImageFile;
  if (file.Length() < ArchiveLayout::ImageStartSize ||
      file.ReadWordAt(ArchiveLayout::ImageLengthOffset) != file.Length())
    throw NotAnImage;
}

bool IsLastMember(const ArchiveFixedPart& fixedPart, int32_t imageOffset) {
  return std::none_of(
      fixedPart.Entries.begin(), fixedPart.Entries.end(),
      [imageOffset](const DirEntry& entry) { return entry.MemberOffset > imageOffset; });
}

// The archive's new content with image in place of member 4; the old image
// itself is never read. An image of another length can only replace the last
// member; the header's size and entry 4's size then follow it, so the archive
// still passes the size check.
std::vector<ContentPiece> ContentWithImage(ArchiveReader& archive, const ArchiveReader& image,
                                           QByteArray& fixedPart) {
  const ArchiveFixedPart parsed = ReadFixedPart(archive);
  const ImagePlace current = LocateImage(archive, parsed);
  // Writing there would change the header and directory the archive is read by.
  if (current.Offset < ArchiveLayout::FixedPartSize) throw ImageOverDirectory;
  const auto imageLength = static_cast<int32_t>(image.Length());
  const bool resized = imageLength != current.Length;
  if (resized && !IsLastMember(parsed, current.Offset)) throw ImageLengthDiffers;

  fixedPart = archive.ReadAt(0, ArchiveLayout::FixedPartSize);
  if (resized) {
    const int32_t newSize = CheckedSum(
        CheckedDifference(static_cast<int32_t>(archive.Length()), current.Length), imageLength);
    qToLittleEndian<int32_t>(newSize, fixedPart.data() + ArchiveLayout::ArchiveSizeOffset);
    qToBigEndian<int32_t>(imageLength, fixedPart.data() + ArchiveLayout::EntryOffsets[3] +
                                           ArchiveLayout::MemberSizeInEntry);
  }
  const qint64 imageEnd = qint64{current.Offset} + current.Length;
  return {QByteArrayView(fixedPart),
          ContentPiece::Range(archive, ArchiveLayout::FixedPartSize,
                              current.Offset - ArchiveLayout::FixedPartSize),
          ContentPiece::Range(image, 0, image.Length()),
          ContentPiece::Range(archive, imageEnd, archive.Length() - imageEnd)};
}

// The routines' own trap: refusals are plain messages, runtime failures are
// reported as the file commands report theirs. Returns whether body finished.
template <typename Body>
bool RunTrapped(EditorWindow& window, Body body) {
  try {
    body();
    return true;
  } catch (const Refusal& refusal) {
    window.ShowMessage(QString::fromUtf8(refusal.Text), QString::fromUtf8(refusal.Caption),
                       MessageStyle::Plain);
  } catch (const CommandError& error) {
    ReportCommandError(window, error);
  }
  return false;
}

}  // namespace

bool ImportPortrait(EditorWindow& window) {
  return RunTrapped(window, [&window] {
    // The import file is opened and checked before the archive is looked at.
    ArchiveReader image(window.State().ImportPath);
    CheckImportFile(image);
    const QString& archivePath = window.State().ArchivePath;
    ArchiveReader archive(archivePath);
    QByteArray fixedPart;
    ReplaceFileContents(archivePath, ContentWithImage(archive, image, fixedPart));
  });
}

bool ExportPortrait(EditorWindow& window) {
  return RunTrapped(window, [&window] {
    ArchiveReader archive(window.State().ArchivePath);
    const ImagePlace image = LocateImage(archive, ReadFixedPart(archive));
    ReplaceFileContents(window.State().ExportPath,
                        {ContentPiece::Range(archive, image.Offset, image.Length)});
  });
}
