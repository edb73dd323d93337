#pragma once

#include <QDialog>
#include <QPointF>
#include <QRect>

#include "portrait/import_previewer.h"
#include "portrait/picture_import.h"
#include "ui/picture_import_prompt.h"

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QSpinBox;
class QTimer;
namespace ui {

class CropPreview;

// "Import picture": how a picture becomes the portrait (fit mode, pixel format,
// mipmaps, and in fill and crop where the crop lies), with the result shown as
// the archive will hold it. It opens on the defaults, so Enter imports the
// picture as the portrait's own kind of image. The preview is made off the GUI
// thread: a quick one at once, then the one the archive gets; OK waits for that
// one when it is not there yet, and Cancel stops the work.
class ImportPictureDialog : public QDialog {
  Q_OBJECT

 public:
  ImportPictureDialog(portrait::PictureImport& import, QWidget* parent = nullptr);

  // The crop only in fill and crop: the other modes show the whole picture.
  portrait::ImportSettings settings() const;
  void setSettings(const portrait::ImportSettings& settings);

  // The result for the current settings, as shown; null when they give none
  // (or none has come yet).
  const QImage& preview() const;
  // Whether the preview shown is what OK writes, not the quick one before it.
  bool isPreviewFinal() const;
  // What the preview says: the new image's details, or why there is none.
  QString status() const;

  // Pictures are previewed at least this large where a whole-number scale allows.
  static constexpr int PreviewSide = 256;

  // Stops the encode under way, then closes.
  void reject() override;

 private:
  void buildControls();
  void updatePreview();
  void moveCrop(QPointF portraitPixels);
  void zoomCrop(int steps);
  void resetCrop();
  void placeCrop();
  void showResult(const portrait::EncodedPortrait& result, bool final, const QImage& reduced);
  void showFailure(const fsh::Error& error);
  void showProgress(int percent);
  void acceptWhenFinal();
  void setControlsEnabled(bool enabled);

  portrait::PictureImport& m_import;
  portrait::ImportPreviewer* m_previewer = nullptr;
  bool m_acceptWhenFinal = false;  // OK was pressed before the final preview came
  // The crop as the hand left it; empty for fill's own, centred one.
  QRect m_crop;
  double m_zoom = 1.0;  // over fill's scale
  QPointF m_centre;     // in picture pixels, kept unrounded so that small steps add up
  QButtonGroup* m_fitModes = nullptr;
  QComboBox* m_format = nullptr;
  QSpinBox* m_mipmaps = nullptr;
  CropPreview* m_preview = nullptr;
  QLabel* m_status = nullptr;
  QLabel* m_cropStatus = nullptr;
  QProgressBar* m_progress = nullptr;
  QTimer* m_progressDelay = nullptr;  // shows the progress of encodes that take a while
  QDialogButtonBox* m_buttons = nullptr;
};

// The dialog a user sees.
class QtPictureImportPrompt : public PictureImportPrompt {
 public:
  explicit QtPictureImportPrompt(QWidget* parent) : m_parent(parent) {}
  std::optional<portrait::ImportSettings> ask(portrait::PictureImport& import) override;

 private:
  QWidget* m_parent;
};

}  // namespace ui
