#include "archive/load_archive.h"

#include "archive/archive_check.h"
#include "archive/archive_reader.h"
#include "archive/command_error.h"
#include "archive/editor_window.h"
#include "archive/size_caption.h"

namespace {

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

    const ArchiveCheck check = CheckArchive(reader);
    if (check.Problem) {
      switch (*check.Problem) {
        case ArchiveProblem::SizeMismatch:
          Reject(window, "File size is too big.", "Invalid File", true);
          break;
        case ArchiveProblem::NotPortrait:
          Reject(window, "Not a portrait!! :)", "Error", false);
          break;
        case ArchiveProblem::UnknownHeaderLength:
          Reject(window, "Unknown Format", "Error", false);
          break;
        case ArchiveProblem::UnknownMarker:
          Reject(window, "Unknown Format", "Error", true);
          break;
      }
      return false;
    }

    ShowArchive(window, check.Kind, QString::fromLatin1(check.Identifier), check.ArchiveSize);
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
