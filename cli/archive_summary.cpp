#include "cli/archive_summary.h"

#include <QCoreApplication>
#include <algorithm>

#include "archive/opened_archive.h"
#include "cli/messages.h"
#include "cli/printable_text.h"
#include "fsh/bitmap_check.h"
#include "fsh/describe.h"
#include "fsh/fsh_file.h"

namespace cli {

namespace {

PortraitSummary portraitSummary(const fsh::BitmapDescription& description) {
  return {description.width,       description.height,
          description.formatName,  description.code,
          description.mipmapCount, description.blockCompressed || description.fileCompressed};
}

// The portrait's description; it must also decode, since a portrait whose
// header is sound can still hold pixel data that is not. Every check decoding
// makes is made, but no pixel is converted: that would be most of the time a
// listing of many archives takes. Most portraits are described by the bytes
// already read with the archive's header; only the others are read whole.
Expected<PortraitSummary, QString> summarisePortrait(const archive::OpenedArchive& archive) {
  const auto range = archive.portraitRange();
  if (!range) return Unexpected(describe(range.error()));
  const auto start = archive.portraitStart(*range);
  if (!start) return Unexpected(describe(start.error()));
  if (const auto quick = fsh::describeFromStart(*start, range->length)) {
    if (!*quick) return Unexpected(quick->error().message);
    return portraitSummary(**quick);
  }
  const auto bytes = archive.portraitBytes(*range);
  if (!bytes) return Unexpected(describe(bytes.error()));
  const auto file = fsh::parseFsh(*bytes);
  if (!file) return Unexpected(file.error().message);
  const auto description = fsh::describe(*file);
  if (!description) return Unexpected(description.error().message);
  if (const auto decodes = fsh::checkMainBitmapDecodes(*file); !decodes)
    return Unexpected(decodes.error().message);
  return portraitSummary(*description);
}

QString mipmapWords(int count) {
  return QString::number(count) + (count == 1 ? QCoreApplication::translate("cli", " mipmap")
                                              : QCoreApplication::translate("cli", " mipmaps"));
}

}  // namespace

QString kindName(archive::ArchiveKind kind) {
  return kind == archive::ArchiveKind::PlayerPackage ? QStringLiteral("player")
                                                     : QStringLiteral("jersey");
}

Expected<ArchiveSummary, FileFailure> summariseArchive(const QString& path) {
  const auto archive = archive::OpenedArchive::open(path);
  if (!archive) return Unexpected(archiveFailure(path, archive.error()));
  const archive::ArchiveInfo& info = archive->info();
  ArchiveSummary summary;
  summary.path = path;
  summary.kind = info.kind;
  summary.identifier = QString::fromLatin1(info.identifier);
  summary.size = info.archiveSize;
  summary.portrait = summarisePortrait(*archive);
  return summary;
}

// Built piece by piece: a listing of many archives spends much of its time here.
QString summaryLine(const ArchiveSummary& summary) {
  QString line;
  line.reserve(160);
  line += printableText(summary.path);
  line += u": ";
  line += kindName(summary.kind);
  line += u' ';
  line += printableText(summary.identifier);
  line += u", ";
  line += QString::number(summary.size);
  line += u" bytes, portrait";
  if (!summary.portrait) {
    line += u": ";
    line += summary.portrait.error();
    return line;
  }
  const PortraitSummary& portrait = *summary.portrait;
  line += u' ';
  line += QString::number(portrait.width);
  line += u'x';
  line += QString::number(portrait.height);
  line += u' ';
  line += portrait.format;
  line += u" (0x";
  line += QString::number(portrait.code, 16).toUpper().rightJustified(2, u'0');
  line += u"), ";
  line += mipmapWords(portrait.mipmaps);
  line += portrait.compressed ? u", compressed" : u", not compressed";
  return line;
}

QJsonObject summaryJson(const ArchiveSummary& summary) {
  QJsonObject portrait;
  if (summary.portrait) {
    portrait = {
        {"width", summary.portrait->width},     {"height", summary.portrait->height},
        {"format", summary.portrait->format},   {"code", summary.portrait->code},
        {"mipmaps", summary.portrait->mipmaps}, {"compressed", summary.portrait->compressed}};
  } else {
    portrait = {{"error", summary.portrait.error()}};
  }
  return {{"path", summary.path},
          {"kind", kindName(summary.kind)},
          {"identifier", summary.identifier},
          {"size", summary.size},
          {"portrait", portrait}};
}

QJsonObject refusalJson(const QString& path, const FileFailure& failure) {
  return {{"path", path}, {"error", failure.reason}};
}

}  // namespace cli
