#include "support/archive_fixture.h"

#include <QFile>
#include <QtEndian>
#include <stdexcept>

namespace {

constexpr int32_t DefaultFirstMember = 98;

void PutLittle(QByteArray& bytes, qsizetype at, int32_t value) {
  qToLittleEndian<int32_t>(value, bytes.data() + at);
}
void PutBig(QByteArray& bytes, qsizetype at, int32_t value) {
  qToBigEndian<int32_t>(value, bytes.data() + at);
}
void Put(QByteArray& bytes, qsizetype at, const QByteArray& data) {
  if (at < 0) return;
  if (bytes.size() < at + data.size()) bytes.resize(at + data.size(), '\0');
  std::copy(data.begin(), data.end(), bytes.begin() + at);
}

}  // namespace

ArchiveFixture ArchiveFixture::Jersey(const QByteArray& id) {
  ArchiveFixture fixture;
  fixture.Kind = ArchiveKind::Jersey;
  fixture.NameTableId = id;
  return fixture;
}

ArchiveFixture ArchiveFixture::PlayerPackage(const QByteArray& id) {
  ArchiveFixture fixture;
  fixture.NameTableId = id;
  return fixture;
}

int32_t ArchiveFixture::OffsetOf(int member) const {
  const std::array<int32_t, 4> lengths{32, 16, NameTableEnd, ImageLength};
  int32_t offset = DefaultFirstMember;
  for (int i = 0; i < member - 1; ++i) offset += lengths[i];
  return offset;
}

QByteArray ArchiveFixture::Build() const {
  QByteArray bytes(ArchiveLayout::FixedPartSize, '\0');
  Put(bytes, 0, Magic.left(4));
  PutLittle(bytes, 8, MemberCount);
  qToLittleEndian<uint32_t>(HeaderLengthRaw, bytes.data() + ArchiveLayout::HeaderLengthOffset);

  const QByteArray directoryId = DirectoryId.value_or(
      Kind == ArchiveKind::PlayerPackage ? NameTableId.toUpper() : NameTableId);
  const std::array<QByteArray, 4> nameTails{".sh___", ".dat___", ".nam__", ".fsh__"};
  for (int i = 0; i < 4; ++i) {
    const int entry = ArchiveLayout::EntryOffsets[i];
    PutBig(bytes, entry, MemberOffsets[i].value_or(OffsetOf(i + 1)));
    PutBig(bytes, entry + 4, MemberSizes[i]);
    Put(bytes, entry + 8, directoryId.left(7) + nameTails[i].left(i == 1 ? 7 : 5));
  }

  // Member 1: filler with the kind marker at offset 12.
  QByteArray member1(32, '\x11');
  member1[ArchiveLayout::MarkerOffset] = static_cast<char>(
      Marker.value_or(Kind == ArchiveKind::PlayerPackage ? ArchiveLayout::PlayerPackageMarker
                                                         : ArchiveLayout::JerseyMarker));
  Put(bytes, OffsetOf(1), member1);
  Put(bytes, OffsetOf(2), QByteArray(16, '\x22'));

  // Member 3: the name table, L at offset 8, copies 10 bytes apart ending at L - 10.
  if (NameTableEnd >= 12) {
    QByteArray member3(NameTableEnd, '\x33');
    PutLittle(member3, ArchiveLayout::NameTableEndOffset, NameTableEnd);
    const int copies = Kind == ArchiveKind::Jersey ? ArchiveLayout::JerseyCopyCount : 1;
    for (int copy = 0; copy < copies; ++copy) {
      const int at = NameTableEnd - 10 - copy * 10;
      if (at >= 12) Put(member3, at, NameTableId.left(7));
    }
    Put(bytes, OffsetOf(3), member3);
  } else {
    QByteArray start(12, '\x33');
    PutLittle(start, ArchiveLayout::NameTableEndOffset, NameTableEnd);
    Put(bytes, OffsetOf(3), start);
  }

  Put(bytes, OffsetOf(4), FshImage(ImageLength, ImageLengthField));
  Put(bytes, OffsetOf(4) + ImageLength, QByteArray(TrailingBytes, '\x44'));

  PutLittle(bytes, ArchiveLayout::ArchiveSizeOffset,
            ArchiveSizeField.value_or(static_cast<int32_t>(bytes.size())));
  return bytes;
}

void PutWord(QByteArray& bytes, qsizetype at, int32_t value) { PutLittle(bytes, at, value); }

QByteArray FshImage(int32_t length, std::optional<int32_t> lengthField, uint8_t seed) {
  QByteArray image(std::max(length, 0), '\0');
  for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  Put(image, 0, QByteArray("SHPI").left(std::min<int32_t>(4, length)));
  if (length >= 8) PutLittle(image, ArchiveLayout::ImageLengthOffset, lengthField.value_or(length));
  return image;
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write test file " + path.toStdString());
  return path;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}
