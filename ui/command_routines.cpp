#include "ui/command_routines.h"

#include <QFileInfo>
#include <functional>

#include "archive/archive_inspection.h"
#include "archive/import_undo.h"
#include "archive/portrait_image.h"
#include "archive/prepared_file.h"
#include "archive/save_archive.h"
#include "portrait/input_file.h"
#include "portrait/portrait_picture.h"
#include "ui/editor_window.h"
#include "ui/messages.h"
#include "ui/size_caption.h"

namespace ui {

namespace {

void showError(EditorWindow& window, const ErrorMessage& message) {
  window.showMessage(message.text, message.caption, message.style);
}

void showArchive(EditorWindow& window, const archive::ArchiveInfo& info) {
  window.setSizeText(sizeCaption(info.archiveSize));
  const bool player = info.kind == archive::ArchiveKind::PlayerPackage;
  const IdentifierBox shown = player ? IdentifierBox::PlayerPackage : IdentifierBox::Jersey;
  const IdentifierBox emptied = player ? IdentifierBox::Jersey : IdentifierBox::PlayerPackage;
  window.setIdentifierText(shown, QString::fromLatin1(info.identifier));
  window.setIdentifierText(emptied, QString());
  window.setIdentifierEnabled(emptied, false);
  window.setIdentifierEnabled(shown, true);
  window.enableFileButtons(true);
}

// Import and Export change nothing in the window; they only tell of a refusal.
bool presentImageResult(EditorWindow& window, FileCommandName command,
                        const Expected<void, archive::ArchiveError>& result) {
  if (result) return true;
  showError(window, errorMessage(command, result.error()));
  return false;
}

// Runs an import's write, keeping what it changed for Undo.
bool writeImport(EditorWindow& window,
                 const std::function<Expected<void, archive::ArchiveError>()>& write) {
  auto change = archive::changeArchive(window.state().archivePath, write);
  if (!change) {
    showError(window, errorMessage(FileCommandName::Import, change.error()));
    return false;
  }
  window.importHistory().record(std::move(*change));
  return true;
}

}  // namespace

bool loadArchiveInto(EditorWindow& window) {
  window.setMousePointer(MousePointer::Hourglass);
  const auto info = archive::inspectArchive(window.state().archivePath);
  if (!info) {
    const ErrorMessage message = errorMessage(FileCommandName::Load, info.error());
    if (!message.pointerResetAfterMessage) window.setMousePointer(MousePointer::Default);
    showError(window, message);
    if (message.pointerResetAfterMessage) window.setMousePointer(MousePointer::Default);
    return false;
  }
  showArchive(window, *info);
  archive::ImportHistory& history = window.importHistory();
  if (!archive::isSameFile(history.archivePath(), window.state().archivePath)) history.clear();
  window.setMousePointer(MousePointer::Default);
  return true;
}

bool saveArchiveFrom(EditorWindow& window) {
  WindowState& state = window.state();
  // The kind is the box that holds text; the player package's box is looked at first.
  archive::ArchiveKind kind = archive::ArchiveKind::PlayerPackage;
  QString text = window.identifierText(IdentifierBox::PlayerPackage);
  if (text.isEmpty()) {
    kind = archive::ArchiveKind::Jersey;
    text = window.identifierText(IdentifierBox::Jersey);
  }
  const auto saved = archive::saveWithIdentifier(state.archivePath, state.savePath, kind, text);
  if (!saved) {
    showError(window, errorMessage(FileCommandName::Save, saved.error(),
                                   QFileInfo(state.archivePath).fileName(), text));
    return false;
  }
  state.archivePath = state.savePath;
  return true;
}

bool importPortraitInto(EditorWindow& window) {
  const WindowState& state = window.state();
  const QString fileName = QFileInfo(state.importPath).fileName();
  const auto source = portrait::readInputFile(state.importPath);
  if (!source) {
    showError(window, importFileMessage(fileName, source.error()));
    return false;
  }
  switch (source->kind) {
    case portrait::InputKind::Picture:
      return importPictureInto(window, source->picture, fileName);
    case portrait::InputKind::CompressedFshImage:
      return writeImport(
          window, [&] { return archive::importPortraitBytes(state.archivePath, source->image); });
    case portrait::InputKind::FshImage:
    case portrait::InputKind::Other:
      break;
  }
  return writeImport(window,
                     [&] { return archive::importPortrait(state.archivePath, state.importPath); });
}

bool importPictureInto(EditorWindow& window, const QImage& picture, const QString& pictureName) {
  const QString& archivePath = window.state().archivePath;
  const auto portrait = archive::readPortrait(archivePath);
  if (!portrait) {
    showError(window, errorMessage(FileCommandName::Import, portrait.error()));
    return false;
  }
  auto import = portrait::PictureImport::prepare(*portrait, picture, pictureName);
  if (!import) {
    showError(window, portraitNotReplaceableMessage(import.error()));
    return false;
  }
  const std::optional<portrait::ImportSettings> settings = window.askPictureImport(*import);
  if (!settings) return false;  // cancelled: nothing is written
  const auto encoded = import->encode(*settings);
  if (!encoded) {
    showError(window, pictureEncodingMessage(encoded.error()));
    return false;
  }
  return writeImport(window,
                     [&] { return archive::importPortraitBytes(archivePath, encoded->image); });
}

bool undoImportIn(EditorWindow& window) {
  archive::ImportHistory& history = window.importHistory();
  const QString& archivePath = window.state().archivePath;
  if (!history.canUndo(archivePath)) return false;
  const auto undone = history.undo();
  if (undone) return true;
  if (undone.error().changedSince)
    showError(window, undoChangedSinceMessage(QFileInfo(archivePath).fileName()));
  else
    showError(window, errorMessage(FileCommandName::Import, undone.error().failure));
  return false;
}

bool exportPortraitFrom(EditorWindow& window) {
  const WindowState& state = window.state();
  if (portrait::pictureFormatForPath(state.exportPath)) {
    const auto written = portrait::exportPortraitPicture(state.archivePath, state.exportPath);
    if (written) return true;
    showError(window,
              pictureExportMessage(QFileInfo(state.exportPath).fileName(), written.error()));
    return false;
  }
  return presentImageResult(window, FileCommandName::Export,
                            archive::exportPortrait(state.archivePath, state.exportPath));
}

}  // namespace ui
