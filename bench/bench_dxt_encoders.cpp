// The DXT encoders side by side on the pictures the other benchmarks use, a
// 256x256 portrait and its 8 mipmaps in DXT5: time and PSNR (R, G and B
// against the picture, over all levels' pixels) of libsquish's cluster fit
// (what archives get), its range fit and iterative cluster fit, and stb_dxt's
// high-quality mode (the quick preview).
#include <benchmark/benchmark.h>
#include <squish.h>

#include <QList>
#include <cmath>
#include <vector>

#include "fsh/dxt_codec.h"
#include "fsh/fsh_layout.h"
#include "fsh/mipmap_chain.h"
#include "fsh/pixel_formats.h"
#include "support/fsh_fixture.h"
#include "support/portrait_fixture.h"

namespace {

// The benchmark's first argument; the second is the picture: 0 the painted
// portrait with its background, 1 the smooth photo-like picture.
enum Encoder { SquishClusterFit, SquishRangeFit, SquishIterativeClusterFit, StbDxt };

QImage benchPicture(int which) {
  return which == 0 ? paintedPortrait({256, 256}, true) : smoothPicture({256, 256});
}

// libsquish's own input, made before timing: its rows time libsquish alone.
std::vector<uchar> rgbaOf(const QImage& level) {
  std::vector<uchar> rgba;
  for (int y = 0; y < level.height(); ++y) {
    for (int x = 0; x < level.width(); ++x) {
      const QRgb c = level.pixel(x, y);
      rgba.insert(rgba.end(),
                  {uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c)), uchar(qAlpha(c))});
    }
  }
  return rgba;
}

QByteArray squishLevel(const QImage& level, const std::vector<uchar>& rgba, int fit) {
  QByteArray blocks(fsh::levelSize(fsh::Code::Dxt5, level.width(), level.height()), '\0');
  squish::CompressImage(rgba.data(), level.width(), level.height(), blocks.data(),
                        squish::kDxt5 | fit);
  return blocks;
}

// The cluster fit and stb_dxt rows are the codec's encodeDxt(), with its
// conversion to R, G, B, A bytes.
QByteArray encoded(Encoder encoder, const QImage& level, const std::vector<uchar>& rgba) {
  switch (encoder) {
    case SquishClusterFit:
      return *fsh::encodeDxt(fsh::Code::Dxt5, level, fsh::DxtQuality::Best);
    case SquishRangeFit:
      return squishLevel(level, rgba, squish::kColourRangeFit);
    case SquishIterativeClusterFit:
      return squishLevel(level, rgba, squish::kColourIterativeClusterFit);
    case StbDxt:
      return *fsh::encodeDxt(fsh::Code::Dxt5, level, fsh::DxtQuality::Quick);
  }
  return {};
}

void BM_FshDxtEncoder(benchmark::State& state) {
  const auto encoder = Encoder(state.range(0));
  const QList<QImage> levels = fsh::mipmapChain(benchPicture(int(state.range(1))), 8);
  std::vector<QByteArray> blocks(size_t(levels.size()));
  std::vector<std::vector<uchar>> rgba;
  for (const QImage& level : levels) rgba.push_back(rgbaOf(level));
  for (auto _ : state) {
    for (qsizetype i = 0; i < levels.size(); ++i)
      blocks[size_t(i)] = encoded(encoder, levels[i], rgba[size_t(i)]);
    benchmark::DoNotOptimize(blocks.data());
  }
  // PSNR over every level's pixels together.
  double squaredError = 0;
  qint64 samples = 0;
  for (qsizetype i = 0; i < levels.size(); ++i) {
    QImage decoded(levels[i].size(), QImage::Format_ARGB32);
    fsh::decodeDxt(fsh::Code::Dxt5, reinterpret_cast<const uchar*>(blocks[size_t(i)].constData()),
                   decoded);
    for (int y = 0; y < decoded.height(); ++y) {
      for (int x = 0; x < decoded.width(); ++x) {
        const QRgb a = levels[i].pixel(x, y);
        const QRgb b = decoded.pixel(x, y);
        for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)})
          squaredError += d * d;
        samples += 3;
      }
    }
  }
  state.counters["psnr_db"] = 10 * std::log10(255.0 * 255.0 * double(samples) / squaredError);
}

void encoderArguments(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"encoder", "picture"});
  for (int encoder = SquishClusterFit; encoder <= StbDxt; ++encoder) {
    for (int picture = 0; picture < 2; ++picture) bench->Args({encoder, picture});
  }
}

}  // namespace

BENCHMARK(BM_FshDxtEncoder)->Apply(encoderArguments)->Unit(benchmark::kMillisecond);
