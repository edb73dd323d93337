#include "support/archive_fixture.h"

#include <QFile>
#include <QtEndian>
#include <stdexcept>

namespace {

constexpr int32_t DefaultFirstMember = 98;

void putLittle(QByteArray& bytes, qsizetype at, int32_t value) {
  qToLittleEndian<int32_t>(value, bytes.data() + at);
}
void putBig(QByteArray& bytes, qsizetype at, int32_t value) {
  qToBigEndian<int32_t>(value, bytes.data() + at);
}
void put(QByteArray& bytes, qsizetype at, const QByteArray& data) {
  if (at < 0) return;
  if (bytes.size() < at + data.size()) bytes.resize(at + data.size(), '\0');
  std::copy(data.begin(), data.end(), bytes.begin() + at);
}

}  // namespace

ArchiveFixture ArchiveFixture::withImage(const QByteArray& fsh) const {
  ArchiveFixture fixture = *this;
  fixture.image = fsh;
  fixture.imageLength = static_cast<int32_t>(fsh.size());
  return fixture;
}

ArchiveFixture ArchiveFixture::jersey(const QByteArray& id) {
  ArchiveFixture fixture;
  fixture.kind = archive::ArchiveKind::Jersey;
  fixture.nameTableId = id;
  return fixture;
}

ArchiveFixture ArchiveFixture::playerPackage(const QByteArray& id) {
  ArchiveFixture fixture;
  fixture.nameTableId = id;
  return fixture;
}

int32_t ArchiveFixture::offsetOf(int member) const {
  const std::array<int32_t, 4> lengths{32, 16, nameTableEnd, imageLength};
  int32_t offset = DefaultFirstMember;
  for (int i = 0; i < member - 1; ++i) offset += lengths[i];
  return offset;
}

QByteArray ArchiveFixture::build() const {
  QByteArray bytes(archive::ArchiveLayout::FixedPartSize, '\0');
  put(bytes, 0, magic.left(4));
  putLittle(bytes, 8, memberCount);
  qToLittleEndian<uint32_t>(headerLengthRaw,
                            bytes.data() + archive::ArchiveLayout::HeaderLengthOffset);

  const QByteArray names = directoryId.value_or(
      kind == archive::ArchiveKind::PlayerPackage ? nameTableId.toUpper() : nameTableId);
  const std::array<QByteArray, 4> nameTails{".sh___", ".dat___", ".nam__", ".fsh__"};
  for (int i = 0; i < 4; ++i) {
    const int entry = archive::ArchiveLayout::EntryOffsets[i];
    putBig(bytes, entry, memberOffsets[i].value_or(offsetOf(i + 1)));
    putBig(bytes, entry + 4, memberSizes[i]);
    put(bytes, entry + 8, names.left(7) + nameTails[i].left(i == 1 ? 7 : 5));
  }

  // Member 1: filler with the kind marker at offset 12.
  QByteArray member1(32, '\x11');
  member1[archive::ArchiveLayout::MarkerOffset] = static_cast<char>(marker.value_or(
      kind == archive::ArchiveKind::PlayerPackage ? archive::ArchiveLayout::PlayerPackageMarker
                                                  : archive::ArchiveLayout::JerseyMarker));
  put(bytes, offsetOf(1), member1);
  put(bytes, offsetOf(2), QByteArray(16, '\x22'));

  // Member 3: the name table, L at offset 8, copies 10 bytes apart ending at L - 10.
  if (nameTableEnd >= 12) {
    QByteArray member3(nameTableEnd, '\x33');
    putLittle(member3, archive::ArchiveLayout::NameTableEndOffset, nameTableEnd);
    const int copies =
        kind == archive::ArchiveKind::Jersey ? archive::ArchiveLayout::JerseyCopyCount : 1;
    for (int copy = 0; copy < copies; ++copy) {
      const int at = nameTableEnd - 10 - copy * 10;
      if (at >= 12) put(member3, at, nameTableId.left(7));
    }
    put(bytes, offsetOf(3), member3);
  } else {
    QByteArray start(12, '\x33');
    putLittle(start, archive::ArchiveLayout::NameTableEndOffset, nameTableEnd);
    put(bytes, offsetOf(3), start);
  }

  put(bytes, offsetOf(4), image.value_or(fshImage(imageLength, imageLengthField)));
  put(bytes, offsetOf(4) + imageLength, QByteArray(trailingBytes, '\x44'));

  putLittle(bytes, archive::ArchiveLayout::ArchiveSizeOffset,
            archiveSizeField.value_or(static_cast<int32_t>(bytes.size())));
  return bytes;
}

QByteArray ArchiveFixture::buildSavedAs(const QByteArray& directoryId,
                                        const QByteArray& nameTableId, int copies) const {
  QByteArray bytes = build();
  for (const int at : archive::ArchiveLayout::NameFieldOffsets) bytes.replace(at, 7, directoryId);
  for (int copy = 0; copy < copies; ++copy)
    bytes.replace(lastIdentifierCopy() - 10 * copy, 7, nameTableId);
  return bytes;
}

void putWord(QByteArray& bytes, qsizetype at, int32_t value) { putLittle(bytes, at, value); }

QByteArray fshImage(int32_t length, std::optional<int32_t> lengthField, uint8_t seed) {
  QByteArray image(std::max(length, 0), '\0');
  for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  put(image, 0, QByteArray("SHPI").left(std::min<int32_t>(4, length)));
  if (length >= 8)
    putLittle(image, archive::ArchiveLayout::ImageLengthOffset, lengthField.value_or(length));
  return image;
}

QString writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write test file " + path.toStdString());
  return path;
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}
