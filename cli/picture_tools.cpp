#include "cli/picture_tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "cli/console.h"

namespace {

using ToolsEntry = const PictureTools* (*)();

// Where the module may lie, relative to the program: installed, in its own
// folder under the library folder; in a build, beside the program. Never a
// path from the environment or the working folder.
QStringList moduleCandidates() {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  return {programFolder.filePath(
              QStringLiteral(CPE_PICTURES_MODULE_INSTALLED_DIR "/" CPE_PICTURES_MODULE_FILE)),
          programFolder.filePath(QStringLiteral(CPE_PICTURES_MODULE_FILE))};
}

}  // namespace

std::optional<PictureFormat> pictureFormatForPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return PictureFormat::Png;
  if (suffix == QLatin1String("bmp")) return PictureFormat::Bmp;
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return PictureFormat::Jpeg;
  return std::nullopt;
}

bool namesOtherPictureFormat(const QString& path) {
  static const QStringList Others{
      QStringLiteral("gif"),  QStringLiteral("webp"), QStringLiteral("tga"),
      QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("ico"),
      QStringLiteral("cur"),  QStringLiteral("icns"), QStringLiteral("ppm"),
      QStringLiteral("pgm"),  QStringLiteral("pbm"),  QStringLiteral("pnm"),
      QStringLiteral("xpm"),  QStringLiteral("xbm"),  QStringLiteral("wbmp"),
      QStringLiteral("svg"),  QStringLiteral("svgz"), QStringLiteral("dds"),
      QStringLiteral("psd"),  QStringLiteral("heic"), QStringLiteral("heif"),
      QStringLiteral("avif"), QStringLiteral("jxl"),  QStringLiteral("jp2"),
      QStringLiteral("jfif"), QStringLiteral("jpe"),  QStringLiteral("apng")};
  return Others.contains(QFileInfo(path).suffix().toLower());
}

Expected<const PictureTools*, FileFailure> pictureTools() {
  static QLibrary module;  // kept loaded until the program ends
  static const PictureTools* tools = nullptr;
  if (tools) return tools;
  QString why = QStringLiteral("not found");
  for (const QString& candidate : moduleCandidates()) {
    if (!QFileInfo::exists(candidate)) continue;
    module.setFileName(candidate);
    if (!module.load()) {
      why = module.errorString();
      continue;
    }
    const auto entry = reinterpret_cast<ToolsEntry>(module.resolve("cpeCliPictureTools"));
    if (entry && (tools = entry())) return tools;
    why = QStringLiteral("%1 has no picture tools").arg(candidate);
    module.unload();
  }
  return Unexpected(
      FileFailure{QStringLiteral(CPE_PICTURES_MODULE_FILE),
                  QStringLiteral("the picture support cannot be loaded (%1); reinstall %2")
                      .arg(why, programName())});
}
