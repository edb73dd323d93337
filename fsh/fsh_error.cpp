#include "fsh/fsh_error.h"

namespace fsh {

Error makeError(ErrorKind kind, const QString& message) { return Error{kind, message}; }

Error withContext(Error error, const QString& context) {
  error.message = context + QStringLiteral(": ") + error.message;
  return error;
}

QString hexOffset(qint64 offset) {
  return QStringLiteral("0x") + QString::number(offset, 16).toUpper();
}

QString hexCode(unsigned code) {
  return QStringLiteral("0x") + QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace fsh
