#include "ui/picture_editor_setting.h"

#include <QSettings>

namespace ui {

namespace {
const QString Key = QStringLiteral("pictureEditor/program");
}

QString chosenPictureEditor() { return QSettings().value(Key).toString(); }

void rememberPictureEditor(const QString& program) { QSettings().setValue(Key, program); }

}  // namespace ui
