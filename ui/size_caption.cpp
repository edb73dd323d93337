#include "ui/size_caption.h"

namespace ui {

QString sizeCaption(int32_t archiveSize, const QLocale& locale) {
  // Written in the C locale for its digits 0-9 and no group separator; only
  // the decimal separator is the user's.
  QString number = QLocale::c().toString(archiveSize / 1000.0, 'g', 15);
  number.replace(QLatin1Char('.'), locale.decimalPoint());
  return number + QStringLiteral(" KB");
}

}  // namespace ui
