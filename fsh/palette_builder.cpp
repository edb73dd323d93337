#include "fsh/palette_builder.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <queue>
#include <vector>

namespace fsh {

namespace {

constexpr int MaxColours = 256;

struct ColourCount {
  QRgb colour;
  uint32_t count;
};

int channel(QRgb colour, int index) { return int(colour >> (8 * index) & 0xFF); }

// Every distinct colour of the picture with how many pixels have it.
std::vector<ColourCount> histogram(const QImage& picture) {
  std::vector<QRgb> pixels;
  pixels.reserve(size_t(picture.width()) * picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    pixels.insert(pixels.end(), line, line + picture.width());
  }
  std::sort(pixels.begin(), pixels.end());
  std::vector<ColourCount> colours;
  for (const QRgb pixel : pixels) {
    if (!colours.empty() && colours.back().colour == pixel) {
      ++colours.back().count;
    } else {
      colours.push_back({pixel, 1});
    }
  }
  return colours;
}

// A box of the median cut: a range of the colour list, and which channel of it varies most.
struct Box {
  size_t begin;
  size_t end;
  int channel = 0;
  double spread = 0;  // weighted squared deviation along that channel
  bool operator<(const Box& other) const { return spread < other.spread; }
};

Box measure(const std::vector<ColourCount>& colours, size_t begin, size_t end) {
  Box box{begin, end};
  if (end - begin < 2) return box;
  for (int c = 0; c < 4; ++c) {
    double count = 0, sum = 0, squares = 0;
    for (size_t i = begin; i < end; ++i) {
      const double v = channel(colours[i].colour, c);
      count += colours[i].count;
      sum += v * colours[i].count;
      squares += v * v * colours[i].count;
    }
    const double spread = squares - sum * sum / count;
    if (spread > box.spread) {
      box.spread = spread;
      box.channel = c;
    }
  }
  return box;
}

QRgb meanColour(const std::vector<ColourCount>& colours, const Box& box) {
  std::array<double, 4> sums{};
  double count = 0;
  for (size_t i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 4; ++c) sums[c] += double(channel(colours[i].colour, c)) * colours[i].count;
    count += colours[i].count;
  }
  QRgb mean = 0;
  for (int c = 0; c < 4; ++c) mean |= QRgb(std::lround(sums[c] / count)) << (8 * c);
  return mean;
}

}  // namespace

QList<QRgb> buildPalette(const QImage& picture) {
  std::vector<ColourCount> colours = histogram(picture);
  QList<QRgb> palette;
  if (colours.size() <= size_t(MaxColours)) {
    for (const ColourCount& c : colours) palette.append(c.colour);
    return palette;
  }
  std::priority_queue<Box> boxes;
  boxes.push(measure(colours, 0, colours.size()));
  std::vector<Box> done;
  while (!boxes.empty() && boxes.size() + done.size() < size_t(MaxColours)) {
    const Box box = boxes.top();
    boxes.pop();
    if (box.spread <= 0) {
      done.push_back(box);
      continue;
    }
    const int c = box.channel;
    std::sort(colours.begin() + qsizetype(box.begin), colours.begin() + qsizetype(box.end),
              [c](const ColourCount& a, const ColourCount& b) {
                return channel(a.colour, c) < channel(b.colour, c);
              });
    // Split at the weighted median, leaving at least one colour on each side.
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    uint64_t below = 0;
    size_t middle = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      below += colours[i].count;
      middle = i + 1;
      if (2 * below >= total) break;
    }
    boxes.push(measure(colours, box.begin, middle));
    boxes.push(measure(colours, middle, box.end));
  }
  for (; !boxes.empty(); boxes.pop()) done.push_back(boxes.top());
  for (const Box& box : done) palette.append(meanColour(colours, box));
  return palette;
}

QImage indexedWithPalette(const QImage& picture, const QList<QRgb>& palette) {
  QImage indexed(picture.size(), QImage::Format_Indexed8);
  indexed.setColorTable(palette);
  QHash<QRgb, uchar> nearest;
  for (int y = 0; y < picture.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    uchar* out = indexed.scanLine(y);
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = line[x];
      auto found = nearest.constFind(pixel);
      if (found == nearest.cend()) {
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < palette.size(); ++i) {
          int distance = 0;
          for (int c = 0; c < 4; ++c) {
            const int d = channel(pixel, c) - channel(palette[i], c);
            distance += d * d;
          }
          if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
          }
        }
        found = nearest.insert(pixel, uchar(best));
      }
      out[x] = *found;
    }
  }
  return indexed;
}

}  // namespace fsh
