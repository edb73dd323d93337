#include "x11/screenshot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QImage grabScreen() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
}

void saveScreenshot(const QString& name, const QRect& around) {
  const QString folder = qEnvironmentVariable("CPE_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  const QRect area =
      around.adjusted(-24, -24, 24, 24) & QGuiApplication::primaryScreen()->geometry();
  EXPECT_TRUE(grabScreen().copy(area).save(QDir(folder).filePath(name))) << name.toStdString();
}
