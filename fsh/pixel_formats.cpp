#include "fsh/pixel_formats.h"

#include <array>

#include "fsh/fsh_layout.h"

namespace fsh {

namespace {

struct FormatInfo {
  uint8_t type;
  const char* displayName;
  const char* commandName;
  int bitsPerPixel;
};

constexpr std::array<FormatInfo, 9> Formats{{
    {Code::Dxt1, "DXT1", "dxt1", 4},
    {Code::Dxt3, "DXT3", "dxt3", 8},
    {Code::Dxt5, "DXT5", "dxt5", 8},
    {Code::Argb8888, "ARGB8888", "argb8888", 32},
    {Code::Rgb888, "RGB888", "rgb888", 24},
    {Code::Rgb565, "RGB565", "rgb565", 16},
    {Code::Argb1555, "ARGB1555", "argb1555", 16},
    {Code::Argb4444, "ARGB4444", "argb4444", 16},
    {Code::Indexed8, "Indexed8", "indexed8", 8},
}};

const FormatInfo* find(uint8_t type) {
  for (const FormatInfo& info : Formats) {
    if (info.type == type) return &info;
  }
  return nullptr;
}

}  // namespace

bool isBitmapCode(uint8_t type) { return find(type) != nullptr; }

bool isDxtCode(uint8_t type) {
  return type == Code::Dxt1 || type == Code::Dxt3 || type == Code::Dxt5;
}

bool isPaletteCode(uint8_t type) {
  return type == Code::PaletteRgba5551 || paletteColourSize(type) > 0;
}

int paletteColourSize(uint8_t type) {
  switch (type) {
    case Code::PaletteRgb666:
    case Code::PaletteRgb888:
      return 3;
    case Code::PaletteArgb8888:
      return 4;
    case Code::PaletteRgb565:
    case Code::PaletteArgb1555:
      return 2;
    default:
      return 0;
  }
}

QString formatName(uint8_t type) {
  if (const FormatInfo* info = find(type)) return QString::fromLatin1(info->displayName);
  return QStringLiteral("unknown ") + hexCode(type);
}

qsizetype levelSize(uint8_t type, int width, int height) {
  const FormatInfo* info = find(type);
  if (!info) return 0;
  if (isDxtCode(type)) {
    const qsizetype blocks = qsizetype((width + 3) / 4) * ((height + 3) / 4);
    return blocks * (type == Code::Dxt1 ? 8 : 16);
  }
  return qsizetype(width) * height * (info->bitsPerPixel / 8);
}

QStringList formatCommandNames() {
  QStringList names{QStringLiteral("keep")};
  for (const FormatInfo& info : Formats) names << QString::fromLatin1(info.commandName);
  return names;
}

Expected<std::optional<uint8_t>, Error> codeForFormatName(QStringView name) {
  if (name.compare(QLatin1String("keep"), Qt::CaseInsensitive) == 0) {
    return std::optional<uint8_t>();
  }
  for (const FormatInfo& info : Formats) {
    if (name.compare(QLatin1String(info.commandName), Qt::CaseInsensitive) == 0) {
      return std::optional<uint8_t>(info.type);
    }
  }
  return Unexpected(makeError(ErrorKind::InvalidRequest,
                              QStringLiteral("unknown format \"%1\" (known: %2)")
                                  .arg(name.toString(), formatCommandNames().join(u", "))));
}

}  // namespace fsh
