// Paints the main window's skin and the program icon from the skin layout and
// writes them as 24-bit BMP files:  cpe_paint_skin <assets folder>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "tools/icon_painter.h"
#include "ui/skin_layout.h"

namespace {

using namespace ui::SkinLayout;

QFont pixelFont(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// Text squeezed horizontally where it would not fit its box.
void drawFittedText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                    const QColor& colour) {
  const QFontMetricsF metrics(font);
  const double width = metrics.horizontalAdvance(text);
  const double squeeze = width > box.width() ? box.width() / width : 1.0;
  p.save();
  p.setClipRect(box);
  p.setFont(font);
  p.setPen(colour);
  p.translate(box.center().x() - width * squeeze / 2, box.top());
  p.scale(squeeze, 1);
  p.drawText(QPointF(0, metrics.ascent() - (metrics.height() - box.height()) / 2), text);
  p.restore();
}

void drawPanel(QPainter& p, const QRect& panel) {
  QRectF outer(panel);
  p.setPen(Qt::NoPen);
  p.setBrush(LightGrey);
  p.drawRoundedRect(outer, 4, 4);
  p.setBrush(White);
  p.drawRoundedRect(outer.adjusted(PanelBorder, PanelBorder, -PanelBorder, -PanelBorder), 3, 3);
}

void drawTab(QPainter& p, const QRect& tab) {
  p.setPen(Qt::NoPen);
  p.setBrush(Green);
  p.drawRoundedRect(QRectF(tab), 7, 7);
}

void drawGlyphCircle(QPainter& p, const QRect& glyph) {
  p.setPen(QPen(DarkBlue, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(glyph).adjusted(0.8, 0.8, 0.2, 0.2));
}

QImage paintSkin() {
  QImage skin(Width, Height, QImage::Format_RGB32);
  skin.fill(DarkBlue);
  QPainter p(&skin);
  p.setRenderHint(QPainter::Antialiasing);

  // The white panel; the dark blue around it is the frame.
  p.setPen(Qt::NoPen);
  p.setBrush(White);
  p.drawRoundedRect(
      QRectF(FrameWidth, FrameWidth, Width - 1 - 2 * FrameWidth, Height - 2 * FrameWidth), 19, 14);

  // The title band, whose lower edge rises on the right for the two glyphs.
  const double bandBottom = TitleBandBottom + 1;
  p.setBrush(DarkBlue);
  p.drawPolygon(QPolygonF({{0, 0},
                           {double(Width), 0},
                           {double(Width), 5},
                           {double(GlyphAreaLeft), 5},
                           {GlyphAreaLeft - 14.0, bandBottom},
                           {0, bandBottom}}));

  const QFont title = pixelFont("DejaVu Sans", 15, true);
  const QFont version = pixelFont("DejaVu Sans", 11, true);
  p.setFont(title);
  p.setPen(White);
  const QString name = QStringLiteral("Courtside Portraits Editor");
  p.drawText(QPointF(32, 21), name);
  p.setFont(version);
  p.setPen(Green);
  p.drawText(QPointF(32 + QFontMetricsF(title).horizontalAdvance(name) + 8, 21), "v1.1");

  // Minimise: a circle with a bar. Close: a circle with an X.
  drawGlyphCircle(p, MinimiseGlyph);
  const QRectF minimise(MinimiseGlyph);
  const QPointF mc = minimise.center() + QPointF(0.5, 0.5);
  p.setPen(QPen(DarkBlue, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(mc + QPointF(-4, 0), mc + QPointF(4, 0));
  drawGlyphCircle(p, CloseGlyph);
  const QPointF cc = QRectF(CloseGlyph).center() + QPointF(0.5, 0.5);
  p.setPen(QPen(DarkBlue, 1.8, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(cc + QPointF(-3.2, -3.2), cc + QPointF(3.2, 3.2));
  p.drawLine(cc + QPointF(-3.2, 3.2), cc + QPointF(3.2, -3.2));

  drawTab(p, PkgTab);
  drawPanel(p, PkgPanel);
  drawTab(p, JerseyTab);
  drawPanel(p, JerseyPanel);
  drawPanel(p, SizePanel);
  drawTab(p, ButtonTab);
  drawPanel(p, ButtonPanel);

  drawFittedText(p, QRectF(CreditLine), "Courtside Portraits Editor project",
                 pixelFont("DejaVu Sans", 8, false), DarkBlue);

  // The light edge line in the rightmost column.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(Width - 1, 0, 1, Height), LightGrey);
  return skin;
}

QImage paintIcon() {
  QImage icon(ProgramIcon::GridSize, ProgramIcon::GridSize, QImage::Format_RGB32);
  QPainter p(&icon);
  ProgramIcon::paint(p, ProgramIcon::Background::Square);
  return icon;
}

bool write(const QImage& image, const QString& path) {
  // 24 bits per pixel, uncompressed.
  if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const bool ok =
      write(paintSkin(), out.filePath("skin.bmp")) && write(paintIcon(), out.filePath("icon.bmp"));
  return ok ? 0 : 1;
}
