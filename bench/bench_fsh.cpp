// The FSH codec beside its floors: decoding 256x256 pictures with their
// mipmaps against copying the decoded pixels into new pictures, encoding DXT5
// with mipmaps against libsquish compressing the same levels, and RefPack
// decompression of 1 MiB against copying 1 MiB.
#include <benchmark/benchmark.h>
#include <squish.h>

#include <cstring>
#include <vector>

#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/mipmap_chain.h"
#include "fsh/pixel_encoder.h"
#include "fsh/refpack.h"
#include "paired_timing.h"
#include "support/fsh_fixture.h"

namespace {

constexpr int Side = 256;
constexpr int Mipmaps = 8;  // down to 1x1

const char* codeName(uint8_t code) {
  return code == fsh::Code::Dxt1 ? "DXT1" : code == fsh::Code::Dxt5 ? "DXT5" : "ARGB8888";
}

void BM_FshDecode(benchmark::State& state) {
  const auto code = uint8_t(state.range(0));
  const QImage picture = smoothPicture(QSize(Side, Side), true);
  const QByteArray bytes = singleBitmap(code, picture, Mipmaps).build();
  // The floor's input: the same pictures already decoded.
  std::vector<QImage> decoded;
  for (int level = 0; level <= Mipmaps; ++level) {
    decoded.push_back(*fsh::decodeBitmap(*fsh::parseFsh(bytes), 0, level));
  }
  bool allDecoded = true;
  timeAgainstFloor(
      state,
      QStringLiteral("Decode %1 256x256 + %2 mipmaps")
          .arg(QLatin1String(codeName(code)))
          .arg(Mipmaps),
      [&] {
        const auto file = fsh::parseFsh(bytes);
        for (int level = 0; level <= Mipmaps; ++level) {
          const auto image = fsh::decodeBitmap(*file, 0, level);
          allDecoded = allDecoded && image;
          benchmark::DoNotOptimize(image->constBits());
        }
      },
      [&] {
        for (const QImage& level : decoded) {
          QImage copy(level.size(), QImage::Format_ARGB32);
          std::memcpy(copy.bits(), level.constBits(), size_t(level.sizeInBytes()));
          benchmark::DoNotOptimize(copy.constBits());
        }
      });
  if (!allDecoded) failBenchmark(state, "a level did not decode");
}

void BM_FshEncodeDxt5(benchmark::State& state) {
  const QImage picture = smoothPicture(QSize(Side, Side), true);
  // The floor's input: the codec's own levels, in libsquish's byte order.
  std::vector<std::vector<uchar>> levels;
  for (const QImage& level : fsh::mipmapChain(picture, Mipmaps)) {
    std::vector<uchar>& rgba = levels.emplace_back();
    for (int y = 0; y < level.height(); ++y) {
      for (int x = 0; x < level.width(); ++x) {
        const QRgb c = level.pixel(x, y);
        rgba.insert(rgba.end(),
                    {uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c)), uchar(qAlpha(c))});
      }
    }
  }
  const int flags = squish::kDxt5 | squish::kColourClusterFit;
  std::vector<uchar> blocks(size_t(squish::GetStorageRequirements(Side, Side, flags)));
  qsizetype encodedSize = 0;
  timeAgainstFloor(
      state, QStringLiteral("Encode DXT5 256x256 + %1 mipmaps").arg(Mipmaps),
      [&] {
        const std::optional<fsh::EncodedPixels> encoded =
            fsh::encodePixels(picture, fsh::Code::Dxt5, Mipmaps, fsh::MipmapLayout::Padded);
        if (!encoded) return;
        encodedSize = encoded->data.size();
        benchmark::DoNotOptimize(encoded->data.constData());
      },
      [&] {
        for (size_t i = 0; i < levels.size(); ++i) {
          const int side = std::max(1, Side >> i);
          squish::CompressImage(levels[i].data(), side, side, blocks.data(), flags);
        }
        benchmark::DoNotOptimize(blocks.data());
      });
  if (encodedSize < Side * Side) failBenchmark(state, "nothing was encoded");
}

void BM_FshRefpackDecompress(benchmark::State& state) {
  // 1 MiB of picture bytes: a 512x512 ARGB8888 portrait.
  const QImage picture = smoothPicture(QSize(512, 512), true);
  const QByteArray plain(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
  const QByteArray packed = *fsh::refpackCompress(plain);
  bool same = true;
  timeAgainstFloor(
      state,
      QStringLiteral("RefPack decompress 1 MiB (%1% packed)")
          .arg(100 * packed.size() / plain.size()),
      [&] {
        const auto out = fsh::refpackDecompress(packed);
        same = same && out && out->bytes.size() == plain.size();
        benchmark::DoNotOptimize(out->bytes.constData());
      },
      [&] {
        QByteArray copy(plain.size(), Qt::Uninitialized);
        std::memcpy(copy.data(), plain.constData(), size_t(plain.size()));
        benchmark::DoNotOptimize(copy.constData());
      });
  if (!same || fsh::refpackDecompress(packed)->bytes != plain)
    failBenchmark(state, "RefPack lost bytes");
}

}  // namespace

BENCHMARK(BM_FshDecode)
    ->Arg(fsh::Code::Dxt1)
    ->Arg(fsh::Code::Dxt5)
    ->Arg(fsh::Code::Argb8888)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// A third of a second an encoding: two seconds give it several iterations.
BENCHMARK(BM_FshEncodeDxt5)->MinTime(2.0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FshRefpackDecompress)->UseManualTime()->Unit(benchmark::kMillisecond);
