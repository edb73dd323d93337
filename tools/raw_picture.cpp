// Writes pictures as raw 32-bit pixels for the program to bundle:
//   cpe_raw_picture IN OUT [IN OUT ...]
// OUT holds the width and the height as 32-bit little-endian words, then the
// rows of QImage::Format_RGB32 pixels with no padding. The main window paints
// its skin from such a copy at start-up without Qt's image readers, whose
// first use looks through every installed image plugin.
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <cstdio>

namespace {

bool writeRaw(const QString& in, const QString& out) {
  const QImage picture = QImage(in).convertToFormat(QImage::Format_RGB32);
  if (picture.isNull()) {
    std::fprintf(stderr, "cpe_raw_picture: cannot read %s\n", qPrintable(in));
    return false;
  }
  QByteArray bytes(8, '\0');
  qToLittleEndian<quint32>(quint32(picture.width()), bytes.data());
  qToLittleEndian<quint32>(quint32(picture.height()), bytes.data() + 4);
  for (int y = 0; y < picture.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(picture.constScanLine(y)),
                 qsizetype(picture.width()) * 4);
  QFile file(out);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
    std::fprintf(stderr, "cpe_raw_picture: cannot write %s\n", qPrintable(out));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: cpe_raw_picture IN OUT [IN OUT ...]\n");
    return 2;
  }
  for (int i = 1; i + 1 < argc; i += 2)
    if (!writeRaw(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]))) return 1;
  return 0;
}
