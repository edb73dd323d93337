#include "ui/import_picture_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "fsh/pixel_formats.h"
#include "portrait/crop_rect.h"
#include "ui/crop_preview.h"
#include "ui/skin.h"

namespace ui {

namespace {

QString sizeText(QSize size) {
  return QCoreApplication::translate("ImportPictureDialog", "%1 x %2")
      .arg(size.width())
      .arg(size.height());
}

QString mipmapsText(int count) {
  return count == 0   ? QCoreApplication::translate("ImportPictureDialog", "no mipmaps")
         : count == 1 ? QCoreApplication::translate("ImportPictureDialog", "1 mipmap")
                      : QCoreApplication::translate("ImportPictureDialog", "%1 mipmaps").arg(count);
}

// Each step of the wheel or of + and - zooms by this factor; eight steps
// from fill's scale reach MaxCropZoom.
const double ZoomStep = std::pow(portrait::MaxCropZoom, 1.0 / 8);

}  // namespace

std::optional<portrait::ImportSettings> QtPictureImportPrompt::ask(
    portrait::PictureImport& import) {
  ImportPictureDialog dialog(import, m_parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.settings();
}

ImportPictureDialog::ImportPictureDialog(portrait::PictureImport& import, QWidget* parent)
    : QDialog(parent), m_import(import) {
  setObjectName(QStringLiteral("ImportPictureDialog"));
  setWindowTitle(QCoreApplication::translate("ImportPictureDialog", "Import picture"));
  setWindowIcon(programIcon());
  m_previewer = new portrait::ImportPreviewer(m_import, this);
  buildControls();
  m_preview->setPicture(
      {}, QCoreApplication::translate("ImportPictureDialog", "Preparing the preview..."));
  // Laid out now, so that the first preview is made for the size it is shown at.
  adjustSize();
  setSettings(m_import.defaults());
  m_buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void ImportPictureDialog::buildControls() {
  m_preview = new CropPreview(this);
  m_preview->setObjectName(QStringLiteral("previewView"));
  const QSize target = m_import.portraitSize();
  m_preview->setPreferredScale(fittingScale(target, {PreviewSide, PreviewSide}));
  // The dialog opens before the first preview is made, at the size it will need.
  m_preview->setPlaceholderSize(target);
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("previewStatus"));
  m_status->setTextFormat(Qt::PlainText);
  m_status->setWordWrap(true);
  m_status->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  // Room for two lines from the start: the preview does not shrink when the
  // first result's details wrap.
  m_status->setMinimumHeight(2 * m_status->fontMetrics().lineSpacing());
  m_cropStatus = new QLabel(this);
  m_cropStatus->setObjectName(QStringLiteral("cropStatus"));
  m_cropStatus->setTextFormat(Qt::PlainText);
  m_cropStatus->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("previewProgress"));
  m_progress->setFormat(QCoreApplication::translate("ImportPictureDialog", "Encoding: %p%"));
  // Its room is kept while it is hidden: the preview does not jump when it shows.
  QSizePolicy keepRoom = m_progress->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  m_progress->setSizePolicy(keepRoom);
  m_progress->hide();
  m_progressDelay = new QTimer(this);
  m_progressDelay->setSingleShot(true);
  // Long enough that the usual encode of a few tenths of a second shows none.
  m_progressDelay->setInterval(400);

  auto* picture = new QLabel(QCoreApplication::translate("ImportPictureDialog", "%1 - %2")
                                 .arg(m_import.pictureName(), sizeText(m_import.picture().size())),
                             this);
  picture->setTextFormat(Qt::PlainText);
  auto* portrait = new QLabel(QCoreApplication::translate("ImportPictureDialog", "%1 - %2 - %3")
                                  .arg(sizeText(target), fsh::formatName(m_import.portraitCode()),
                                       mipmapsText(m_import.portraitMipmapCount())),
                              this);

  m_fitModes = new QButtonGroup(this);
  auto* fitColumn = new QVBoxLayout;
  const struct {
    portrait::FitMode mode;
    const char* name;
    const char* text;
  } fits[] = {
      {portrait::FitMode::Fill, "fillButton", "&Fill and crop"},
      {portrait::FitMode::Fit, "fitInsideButton", "Fit &inside, transparent margins"},
      {portrait::FitMode::Stretch, "stretchButton", "&Stretch"},
  };
  for (const auto& fit : fits) {
    auto* button = new QRadioButton(QString::fromUtf8(fit.text), this);
    button->setObjectName(QString::fromLatin1(fit.name));
    m_fitModes->addButton(button, static_cast<int>(fit.mode));
    fitColumn->addWidget(button);
  }

  m_format = new QComboBox(this);
  m_format->setObjectName(QStringLiteral("formatBox"));
  for (const QString& name : fsh::formatCommandNames()) {
    const auto code = fsh::codeForFormatName(name);
    if (!code || !code->has_value()) continue;  // "keep" names no format of its own
    QString text = fsh::formatName(**code);
    if (**code == m_import.portraitCode())
      text += QCoreApplication::translate("ImportPictureDialog", " (the portrait's own)");
    m_format->addItem(text, int(**code));
  }

  m_mipmaps = new QSpinBox(this);
  m_mipmaps->setObjectName(QStringLiteral("mipmapBox"));
  m_mipmaps->setRange(0, m_import.maxMipmapCount());
  m_mipmaps->setSpecialValueText(QStringLiteral("none"));
  // A typed number asks for one preview, not one per keystroke.
  m_mipmaps->setKeyboardTracking(false);

  auto* form = new QFormLayout;
  form->addRow(QCoreApplication::translate("ImportPictureDialog", "Picture:"), picture);
  form->addRow(QCoreApplication::translate("ImportPictureDialog", "Portrait:"), portrait);
  form->addRow(QCoreApplication::translate("ImportPictureDialog", "Fit:"), fitColumn);
  form->addRow(QCoreApplication::translate("ImportPictureDialog", "Pixel &format:"), m_format);
  form->addRow(QCoreApplication::translate("ImportPictureDialog", "&Mipmaps:"), m_mipmaps);
  qobject_cast<QLabel*>(form->labelForField(m_format))->setBuddy(m_format);
  qobject_cast<QLabel*>(form->labelForField(m_mipmaps))->setBuddy(m_mipmaps);

  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(m_preview, 1);
  previewColumn->addWidget(m_status);
  previewColumn->addWidget(m_cropStatus);
  previewColumn->addWidget(m_progress);
  auto* columns = new QHBoxLayout;
  columns->addLayout(previewColumn, 1);
  columns->addSpacing(12);
  columns->addLayout(form);

  m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(m_buttons, &QDialogButtonBox::accepted, this, &ImportPictureDialog::acceptWhenFinal);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &ImportPictureDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(m_buttons);

  connect(m_fitModes, &QButtonGroup::idClicked, this, &ImportPictureDialog::updatePreview);
  connect(m_format, &QComboBox::currentIndexChanged, this, &ImportPictureDialog::updatePreview);
  connect(m_mipmaps, &QSpinBox::valueChanged, this, &ImportPictureDialog::updatePreview);
  connect(m_preview, &CropPreview::cropMoved, this, &ImportPictureDialog::moveCrop);
  connect(m_preview, &CropPreview::zoomStepped, this, &ImportPictureDialog::zoomCrop);
  connect(m_preview, &CropPreview::resetRequested, this, &ImportPictureDialog::resetCrop);
  connect(m_previewer, &portrait::ImportPreviewer::previewReady, this,
          &ImportPictureDialog::showResult);
  connect(m_previewer, &portrait::ImportPreviewer::previewFailed, this,
          &ImportPictureDialog::showFailure);
  connect(m_previewer, &portrait::ImportPreviewer::progressed, this,
          &ImportPictureDialog::showProgress);
  connect(m_progressDelay, &QTimer::timeout, m_progress, &QWidget::show);
}

portrait::ImportSettings ImportPictureDialog::settings() const {
  const auto mode = static_cast<portrait::FitMode>(m_fitModes->checkedId());
  return {mode, static_cast<uint8_t>(m_format->currentData().toInt()), m_mipmaps->value(),
          mode == portrait::FitMode::Fill ? m_crop : QRect()};
}

void ImportPictureDialog::setSettings(const portrait::ImportSettings& settings) {
  // One preview for the new settings, not one for each control on the way.
  const QSignalBlocker formatBlocker(m_format);
  const QSignalBlocker mipmapBlocker(m_mipmaps);
  m_fitModes->button(static_cast<int>(settings.fitMode))->setChecked(true);
  m_format->setCurrentIndex(m_format->findData(int(settings.code)));
  m_mipmaps->setValue(settings.mipmapCount);
  // The hand goes on from the crop given, zoomed as far as it shows.
  const QSize picture = m_import.picture().size();
  const QSize target = m_import.portraitSize();
  m_crop = settings.crop;
  m_centre = QRectF(m_crop.isEmpty() ? QRect(QPoint(), picture) : m_crop).center();
  m_zoom = m_crop.isEmpty() ? 1.0
                            : portrait::cropPixelsPerPortraitPixel(picture, target, 1.0) *
                                  std::min(double(target.width()) / m_crop.width(),
                                           double(target.height()) / m_crop.height());
  m_zoom = std::clamp(m_zoom, 1.0, portrait::MaxCropZoom);
  updatePreview();
}

void ImportPictureDialog::moveCrop(QPointF portraitPixels) {
  m_centre += portraitPixels * portrait::cropPixelsPerPortraitPixel(
                                   m_import.picture().size(), m_import.portraitSize(), m_zoom);
  placeCrop();
}

void ImportPictureDialog::zoomCrop(int steps) {
  const double zoom = std::clamp(m_zoom * std::pow(ZoomStep, steps), 1.0, portrait::MaxCropZoom);
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  placeCrop();
}

void ImportPictureDialog::resetCrop() {
  setSettings({settings().fitMode, settings().code, settings().mipmapCount, QRect()});
}

void ImportPictureDialog::placeCrop() {
  const QSize picture = m_import.picture().size();
  const QSize target = m_import.portraitSize();
  // Kept inside, so that a drag past the edge does not have to come back first.
  m_centre = portrait::clampCropCentre(picture, target, m_zoom, m_centre);
  m_crop = portrait::cropRect(picture, target, m_zoom, m_centre);
  updatePreview();
}

const QImage& ImportPictureDialog::preview() const { return m_preview->picture(); }

QString ImportPictureDialog::status() const { return m_status->text(); }

void ImportPictureDialog::updatePreview() {
  if (m_fitModes->checkedId() < 0 || m_format->currentIndex() < 0) return;
  const portrait::ImportSettings chosen = settings();
  const bool filling = chosen.fitMode == portrait::FitMode::Fill;
  if (m_preview->isCropEnabled() != filling) m_preview->setCropEnabled(filling);
  m_cropStatus->setVisible(filling);
  // The rectangle as the command line's --crop takes it.
  m_cropStatus->setText(
      m_crop.isEmpty()
          ? QCoreApplication::translate("ImportPictureDialog",
                                        "Crop: centred; drag or zoom the preview to move it")
          : QCoreApplication::translate("ImportPictureDialog",
                                        "Crop: %1,%2,%3,%4 of the picture, zoom %5x")
                .arg(m_crop.x())
                .arg(m_crop.y())
                .arg(m_crop.width())
                .arg(m_crop.height())
                .arg(QLocale().toString(m_zoom, 'f', 1)));
  // Until the new result comes, the last one stays: no flicker within a frame.
  m_progress->setRange(0, 0);
  m_progressDelay->start();
  m_previewer->request(chosen, m_preview->shownSize(m_import.portraitSize()));
}

bool ImportPictureDialog::isPreviewFinal() const { return m_previewer->isFinal(); }

void ImportPictureDialog::showResult(const portrait::EncodedPortrait& result, bool final,
                                     const QImage& reduced) {
  // While OK waits for the final encode, it stays pressed.
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_acceptWhenFinal);
  m_preview->setPicture(result.decoded);
  m_preview->setReducedPicture(reduced);
  const portrait::ImportSettings chosen = settings();
  m_status->setText(
      QCoreApplication::translate("ImportPictureDialog", "New portrait: %1 - %2 - %3, %4 bytes")
          .arg(sizeText(result.decoded.size()), fsh::formatName(chosen.code),
               mipmapsText(chosen.mipmapCount), QLocale().toString(result.image.size())));
  if (!final) return;
  m_progressDelay->stop();
  m_progress->hide();
  if (m_acceptWhenFinal) {
    m_acceptWhenFinal = false;
    unsetCursor();
    accept();
  }
}

void ImportPictureDialog::showFailure(const fsh::Error& error) {
  m_progressDelay->stop();
  m_progress->hide();
  if (m_acceptWhenFinal) {
    m_acceptWhenFinal = false;
    unsetCursor();
    setControlsEnabled(true);
  }
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
  m_preview->setPicture({}, QCoreApplication::translate("ImportPictureDialog", "No preview"));
  m_status->setText(
      QCoreApplication::translate("ImportPictureDialog", "This cannot be imported: %1.")
          .arg(error.message));
}

void ImportPictureDialog::showProgress(int percent) {
  m_progress->setRange(0, 100);
  m_progress->setValue(percent);
}

void ImportPictureDialog::acceptWhenFinal() {
  if (m_previewer->isFinal()) {
    accept();
    return;
  }
  // The final encode of what is shown is under way: written once it is done,
  // never encoded a second time.
  m_acceptWhenFinal = true;
  setCursor(Qt::BusyCursor);
  setControlsEnabled(false);
  m_progress->show();
}

void ImportPictureDialog::setControlsEnabled(bool enabled) {
  for (QAbstractButton* button : m_fitModes->buttons()) button->setEnabled(enabled);
  m_format->setEnabled(enabled);
  m_mipmaps->setEnabled(enabled);
  m_preview->setEnabled(enabled);
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(enabled);
}

void ImportPictureDialog::reject() {
  m_previewer->stop();
  m_acceptWhenFinal = false;
  unsetCursor();
  QDialog::reject();
}

}  // namespace ui
