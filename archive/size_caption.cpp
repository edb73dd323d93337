#include "archive/size_caption.h"

QString SizeCaption(int32_t archiveSize, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(archiveSize / 1000.0, 'g', 15) + QStringLiteral(" KB");
}
