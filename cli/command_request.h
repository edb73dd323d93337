#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

#include "portrait/import_settings.h"
#include "portrait/roster_match.h"

namespace cli {

// What a command line asks for, once parsed and checked.

struct InfoRequest {
  bool json = false;
  QStringList archives;
};

// Either one archive (identifier, source, target) or a roster map file.
struct SetIdRequest {
  QString identifier;
  QString source;
  QString target;
  std::optional<QString> mapFile;
};

enum class ExportFormat { Fsh, Png };

// Either one archive to one output, or many archives into a folder.
struct ExportRequest {
  QString archive;
  QString output;
  std::optional<QString> folder;
  ExportFormat folderFormat = ExportFormat::Fsh;
  QStringList archives;
};

// The fit, format, mipmap count and crop apply to a picture; an FSH image goes in as it is.
// Either one input into one archive, or for each archive the file of a folder
// named after it.
struct ImportRequest {
  QString archive;
  QString input;
  std::optional<QString> folder;
  portrait::MatchBy matchBy = portrait::MatchBy::Stem;
  QStringList archives;
  portrait::FitMode fit = portrait::FitMode::Fill;
  std::optional<uint8_t> code;       // none: the portrait's own
  std::optional<int> mipmapCount;    // none: the portrait's own
  bool pictureChangesAsked = false;  // --format or --mipmaps other than keep
  // In the picture's pixels; empty: the whole picture. Whether it lies inside
  // is known once the picture is read.
  QRect crop = {};
};

// The portrait of an archive or FSH image as a PNG picture whose longer side is
// at most size.
struct ThumbnailRequest {
  QString input;
  QString output;
  int size = 0;
};

using CommandRequest =
    std::variant<InfoRequest, SetIdRequest, ExportRequest, ImportRequest, ThumbnailRequest>;

struct CommandLine {
  CommandRequest request;
  bool quiet = false;
  bool dryRun = false;
};

}  // namespace cli
