#include "ui/roster_export_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/user_text.h"

namespace ui {

RosterExportDialog::RosterExportDialog(QStringList archives, QString folder, QWidget* parent)
    : QDialog(parent), m_archives(std::move(archives)), m_folder(std::move(folder)) {
  setObjectName(QStringLiteral("RosterExportDialog"));
  setWindowTitle(tr("Export pictures"));
  m_format = new QComboBox(this);
  m_format->setObjectName(QStringLiteral("formatBox"));
  m_format->addItem(tr("PNG pictures (.png)"));
  m_format->addItem(tr("FSH images (.fsh)"));
  m_summary = new QLabel(this);
  m_summary->setTextFormat(Qt::PlainText);
  m_summary->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(tr("&Write as:"), m_format);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_summary);
  layout->addWidget(buttons);
  connect(m_format, &QComboBox::currentIndexChanged, this, &RosterExportDialog::showTargets);
  showTargets();
}

std::optional<portrait::PictureFormat> RosterExportDialog::picture() const {
  if (m_format->currentIndex() == 0) return portrait::PictureFormat::Png;
  return std::nullopt;
}

std::vector<portrait::RosterExportJob> RosterExportDialog::jobs() const {
  return portrait::rosterExportJobs(m_archives, m_folder, picture());
}

void RosterExportDialog::showTargets() {
  int replaced = 0;
  for (const auto& job : jobs())
    if (QFileInfo::exists(job.targetPath)) ++replaced;
  const qsizetype count = m_archives.size();
  const QString folder = isolatedUserText(m_folder);
  QString text = count == 1 ? tr("1 portrait to %1, named after its archive.").arg(folder)
                            : tr("%1 portraits to %2, each named after its archive.")
                                  .arg(QString::number(count), folder);
  if (replaced == 1)
    text += QLatin1Char(' ') + tr("1 file there will be replaced.");
  else if (replaced > 1)
    text += QLatin1Char(' ') + tr("%1 files there will be replaced.").arg(replaced);
  m_summary->setText(text);
}

}  // namespace ui
