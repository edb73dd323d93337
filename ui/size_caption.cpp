#include "ui/size_caption.h"

QString sizeCaption(int32_t archiveSize, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(archiveSize / 1000.0, 'g', 15) + QStringLiteral(" KB");
}
