#include "ui/skin.h"

#include <QPixmap>

// The resources live in the static cpe_ui library; nothing else references
// them, so they are registered here, where the pictures are first needed.
static void initAssets() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(assets);
    return true;
  }();
  (void)registered;
}

const QImage& skinPicture() {
  initAssets();
  static const QImage skin(QStringLiteral(":/skin.bmp"));
  return skin;
}

QIcon programIcon() {
  initAssets();
  return QIcon(QPixmap(QStringLiteral(":/icon.bmp")));
}
