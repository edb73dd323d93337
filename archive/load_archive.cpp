#include "archive/load_archive.h"

#include <optional>

#include "archive/archive_layout.h"
#include "archive/archive_reader.h"
#include "archive/command_error.h"
#include "archive/editor_window.h"
#include "archive/name_table.h"
#include "archive/size_caption.h"
#include "archive/word_decoding.h"

namespace {

std::optional<ArchiveKind> KindOfMarker(uint8_t marker) {
  if (marker == ArchiveLayout::PlayerPackageMarker) return ArchiveKind::PlayerPackage;
  if (marker == ArchiveLayout::JerseyMarker) return ArchiveKind::Jersey;
  return std::nullopt;
}

void Reject(EditorWindow& window, const QString& text, const QString& caption,
            bool resetPointerFirst) {
  if (resetPointerFirst) window.SetMousePointer(MousePointer::Default);
  window.ShowMessage(text, caption, MessageStyle::Plain);
  if (!resetPointerFirst) window.SetMousePointer(MousePointer::Default);
}

void ShowArchive(EditorWindow& window, ArchiveKind kind, const QString& identifier,
                 int32_t archiveSize) {
  window.SetShowsize(SizeCaption(archiveSize));
  const IdentifierBox shown =
      kind == ArchiveKind::PlayerPackage ? IdentifierBox::pkgtxt : IdentifierBox::jrsytxt;
  const IdentifierBox emptied =
      kind == ArchiveKind::PlayerPackage ? IdentifierBox::jrsytxt : IdentifierBox::pkgtxt;
  window.SetIdentifierText(shown, identifier);
  window.SetIdentifierText(emptied, QString());
  window.SetIdentifierEnabled(emptied, false);
  window.SetIdentifierEnabled(shown, true);
  window.EnableFileButtons(true);
}

}  // namespace

bool LoadArchive(EditorWindow& window) {
  try {
    ArchiveReader reader(window.State().ArchivePath);
    window.SetMousePointer(MousePointer::Hourglass);

    const QByteArray header = reader.ReadAt(0, ArchiveLayout::HeaderSize);
    const int32_t archiveSize =
        LittleEndianWord(header.constData() + ArchiveLayout::ArchiveSizeOffset);
    if (archiveSize != reader.Length()) {
      Reject(window, "File size is too big.", "Invalid File", true);
      return false;
    }
    const auto headerLength = static_cast<uint32_t>(
        LittleEndianWord(header.constData() + ArchiveLayout::HeaderLengthOffset));
    if (headerLength != ArchiveLayout::PortraitHeaderLength) {
      Reject(window,
             headerLength == ArchiveLayout::NotPortraitHeaderLength ? "Not a portrait!! :)"
                                                                    : "Unknown Format",
             "Error", false);
      return false;
    }

    const ArchiveFixedPart fixedPart =
        ArchiveFixedPart::Parse(reader.ReadAt(0, ArchiveLayout::FixedPartSize));
    const int32_t markerOffset =
        CheckedSum(fixedPart.Entries[0].MemberOffset, ArchiveLayout::MarkerOffset);
    const std::optional<ArchiveKind> kind = KindOfMarker(reader.ReadByteAt(markerOffset));
    if (!kind) {
      Reject(window, "Unknown Format", "Error", true);
      return false;
    }

    const int32_t lastCopy = LastIdentifierCopy(reader, fixedPart);
    const QString identifier =
        QString::fromLatin1(reader.ReadAt(lastCopy, ArchiveLayout::IdentifierLength));
    ShowArchive(window, *kind, identifier, archiveSize);
    window.SetMousePointer(MousePointer::Default);
    return true;
  } catch (const CommandError&) {
    // Whatever failed (open, a position outside the file, an overflowing sum),
    // the user sees the same fixed message.
    window.SetMousePointer(MousePointer::Default);
    window.ShowMessage("Unable to decode binary file.", "Error", MessageStyle::Plain);
    return false;
  }
}
