#include "fsh/mipmap_chain.h"

#include <algorithm>

namespace fsh {

namespace {

QImage halve(const QImage& premultiplied) {
  const int width = std::max(1, premultiplied.width() / 2);
  const int height = std::max(1, premultiplied.height() / 2);
  QImage half(width, height, QImage::Format_ARGB32_Premultiplied);
  const int lastColumn = premultiplied.width() - 1;
  const int lastRow = premultiplied.height() - 1;
  for (int y = 0; y < height; ++y) {
    const auto* top =
        reinterpret_cast<const QRgb*>(premultiplied.constScanLine(std::min(2 * y, lastRow)));
    const auto* bottom =
        reinterpret_cast<const QRgb*>(premultiplied.constScanLine(std::min(2 * y + 1, lastRow)));
    auto* out = reinterpret_cast<QRgb*>(half.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int left = std::min(2 * x, lastColumn);
      const int right = std::min(2 * x + 1, lastColumn);
      const QRgb p[4] = {top[left], top[right], bottom[left], bottom[right]};
      uint32_t sum[4] = {2, 2, 2, 2};  // rounds to nearest
      for (const QRgb c : p) {
        sum[0] += qAlpha(c);
        sum[1] += qRed(c);
        sum[2] += qGreen(c);
        sum[3] += qBlue(c);
      }
      out[x] = qRgba(int(sum[1] / 4), int(sum[2] / 4), int(sum[3] / 4), int(sum[0] / 4));
    }
  }
  return half;
}

}  // namespace

QList<QImage> mipmapChain(const QImage& picture, int count) {
  QList<QImage> levels{picture.convertToFormat(QImage::Format_ARGB32)};
  QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int level = 1; level <= count; ++level) {
    premultiplied = halve(premultiplied);
    levels.append(premultiplied.convertToFormat(QImage::Format_ARGB32));
  }
  return levels;
}

}  // namespace fsh
