// Paints the launcher icons into a hicolor icon theme tree, as PNG at the given sizes and as
// one scalable SVG:
//   cpe_paint_icons <output folder> <application id> <size>...
// writes <output folder>/hicolor/<size>x<size>/apps/<application id>.png for each size and
// <output folder>/hicolor/scalable/apps/<application id>.svg.
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cstdio>

#include "tools/icon_painter.h"

namespace {

bool makeFolder(const QString& path) {
  if (QDir().mkpath(path)) return true;
  std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
  return false;
}

bool writePng(const QString& folder, const QString& name, int size) {
  if (!makeFolder(folder)) return false;
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(double(size) / ProgramIcon::GridSize, double(size) / ProgramIcon::GridSize);
  ProgramIcon::paint(p, ProgramIcon::Background::RoundedTile);
  p.end();
  const QString path = QDir(folder).filePath(name);
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

bool writeSvg(const QString& folder, const QString& name, const QString& title) {
  if (!makeFolder(folder)) return false;
  // The generator reports no write error, so the text goes through memory and a save file.
  QByteArray text;
  QBuffer buffer(&text);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(ProgramIcon::GridSize, ProgramIcon::GridSize));
  svg.setResolution(96);  // CSS pixels: the size in the file is 64 px, not millimetres
  svg.setViewBox(QRect(0, 0, ProgramIcon::GridSize, ProgramIcon::GridSize));
  svg.setTitle(title);
  svg.setDescription(QStringLiteral("A basketball held in two hands"));
  QPainter p(&svg);
  ProgramIcon::paint(p, ProgramIcon::Background::RoundedTile);
  p.end();

  const QString path = QDir(folder).filePath(name);
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) {
    return true;
  }
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s <output folder> <application id> <size>...\n", program);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QList<int> sizes;
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QByteArray(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) return usage(argv[0]);
    sizes.append(size);
  }
  if (sizes.isEmpty()) return usage(argv[0]);
  const QDir theme(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("hicolor")));
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (const int size : sizes) {
    const QString folder = theme.filePath(QStringLiteral("%1x%1/apps").arg(size));
    if (!writePng(folder, name + QStringLiteral(".png"), size)) return 1;
  }
  const QString scalable = theme.filePath(QStringLiteral("scalable/apps"));
  return writeSvg(scalable, name + QStringLiteral(".svg"),
                  QStringLiteral("Courtside Portraits Editor"))
             ? 0
             : 1;
}
