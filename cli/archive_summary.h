#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdint>

#include "archive/archive_layout.h"
#include "cli/file_failure.h"
#include "common/expected.h"

namespace cli {

// What info tells of a portrait image.
struct PortraitSummary {
  int width = 0;
  int height = 0;
  QString format;  // "DXT1", "ARGB8888", ...
  uint8_t code = 0;
  int mipmaps = 0;
  bool compressed = false;  // its pixel data, or the whole image, RefPack-compressed
};

// What info tells of an archive that the editor would load. An archive whose
// portrait cannot be decoded is still described, with the reason in place of
// the portrait.
struct ArchiveSummary {
  QString path;
  archive::ArchiveKind kind = archive::ArchiveKind::PlayerPackage;
  QString identifier;
  qint64 size = 0;
  Expected<PortraitSummary, QString> portrait = Unexpected(QString());
};

// The archive's summary, or why the editor would refuse to load it.
Expected<ArchiveSummary, FileFailure> summariseArchive(const QString& path);

// "player" or "jersey".
QString kindName(archive::ArchiveKind kind);

// One line of text: "PATH: player ab12cd3, 51234 bytes, portrait 128x128 DXT1 (0x60),
// 2 mipmaps, not compressed", or "..., portrait: <reason>".
QString summaryLine(const ArchiveSummary& summary);

// The JSON object documented in the README.
QJsonObject summaryJson(const ArchiveSummary& summary);
// The object that stands for an archive the editor would refuse: its path,
// and why in place of the other fields.
QJsonObject refusalJson(const QString& path, const FileFailure& failure);

}  // namespace cli
