#include "ui/roster_import_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fsh/pixel_formats.h"
#include "ui/messages.h"
#include "ui/user_text.h"

namespace ui {

namespace {

// The most mipmap levels offered: a 256x256 portrait takes 8.
constexpr int MostMipmaps = 8;

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

RosterImportDialog::RosterImportDialog(QString folder, QStringList archives, QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder)), m_archives(std::move(archives)) {
  setObjectName(QStringLiteral("RosterImportDialog"));
  setWindowTitle(tr("Import pictures"));

  auto* from = new QLabel(tr("Pictures from %1").arg(isolatedUserText(m_folder)), this);
  from->setTextFormat(Qt::PlainText);
  m_matchBy = new QComboBox(this);
  m_matchBy->setObjectName(QStringLiteral("matchByBox"));
  m_matchBy->addItem(tr("File name (pl0.png for pl0.big)"), int(portrait::MatchBy::Stem));
  m_matchBy->addItem(tr("Identifier (ab12cd3.png for the archive of ab12cd3)"),
                     int(portrait::MatchBy::Identifier));

  m_list = new QTreeWidget(this);
  m_list->setObjectName(QStringLiteral("matchList"));
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({tr("Archive"), tr("Picture")});
  m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
  m_list->setRootIsDecorated(true);
  m_list->setMinimumSize(520, 260);

  m_fit = new QComboBox(this);
  m_fit->setObjectName(QStringLiteral("fitBox"));
  m_fit->addItem(tr("Fill and crop"), int(portrait::FitMode::Fill));
  m_fit->addItem(tr("Fit inside, transparent margins"), int(portrait::FitMode::Fit));
  m_fit->addItem(tr("Stretch"), int(portrait::FitMode::Stretch));

  m_format = new QComboBox(this);
  m_format->setObjectName(QStringLiteral("formatBox"));
  m_format->addItem(tr("Each portrait's own"), -1);
  for (const QString& name : fsh::formatCommandNames()) {
    const auto code = fsh::codeForFormatName(name);
    if (!code || !code->has_value()) continue;  // "keep" names no format of its own
    m_format->addItem(fsh::formatName(**code), int(**code));
  }
  m_mipmaps = new QComboBox(this);
  m_mipmaps->setObjectName(QStringLiteral("mipmapBox"));
  m_mipmaps->addItem(tr("Each portrait's own"), -1);
  m_mipmaps->addItem(tr("none"), 0);
  for (int count = 1; count <= MostMipmaps; ++count)
    m_mipmaps->addItem(QString::number(count), count);

  auto* form = new QFormLayout;
  form->addRow(tr("&Match by:"), m_matchBy);
  form->addRow(tr("&Fit:"), m_fit);
  form->addRow(tr("Pixel f&ormat:"), m_format);
  form->addRow(tr("M&ipmaps:"), m_mipmaps);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_importButton = buttons->button(QDialogButtonBox::Ok);
  m_importButton->setObjectName(QStringLiteral("importButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(from);
  layout->addWidget(m_list, 1);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(m_matchBy, &QComboBox::currentIndexChanged, this, &RosterImportDialog::match);
  match();
}

void RosterImportDialog::match() {
  m_found = portrait::matchPictureFolder(
      m_folder, m_archives, static_cast<portrait::MatchBy>(m_matchBy->currentData().toInt()));
  showMatch();
}

void RosterImportDialog::showMatch() {
  m_list->clear();
  const auto& archives = m_found.archives;
  const auto& match = m_found.match;
  const auto group = [this](const QString& title, qsizetype count) {
    auto* item = new QTreeWidgetItem(m_list, {title.arg(count)});
    QFont bold = item->font(0);
    bold.setBold(true);
    item->setFont(0, bold);
    item->setFirstColumnSpanned(true);
    return item;
  };
  QTreeWidgetItem* pairs = group(tr("Pictures to import (%1)"), match.pairs.size());
  for (const auto& pair : match.pairs)
    new QTreeWidgetItem(pairs, {fileName(archives[pair.archive].path), pair.fileName});
  pairs->setExpanded(true);
  if (!match.clashes.isEmpty()) {
    QTreeWidgetItem* clashes =
        group(tr("Archives two or more pictures are named for, left untouched (%1)"),
              match.clashes.size());
    for (const auto& clash : match.clashes)
      new QTreeWidgetItem(clashes, {fileName(archives[clash.archive].path),
                                    clash.fileNames.join(QStringLiteral(", "))});
    clashes->setExpanded(true);
  }
  if (!m_found.refused.isEmpty()) {
    QTreeWidgetItem* refused =
        group(tr("Archives that cannot be loaded (%1)"), m_found.refused.size());
    for (const auto& archive : m_found.refused)
      new QTreeWidgetItem(refused, {fileName(archive.archivePath), reasonText(archive.error)});
  }
  QTreeWidgetItem* withoutFile =
      group(tr("Archives with no picture (%1)"), match.withoutFile.size());
  for (const qsizetype i : match.withoutFile)
    new QTreeWidgetItem(withoutFile, {fileName(archives[i].path)});
  QTreeWidgetItem* withoutArchive =
      group(tr("Pictures with no archive (%1)"), match.filesWithoutArchive.size());
  for (const QString& name : match.filesWithoutArchive)
    new QTreeWidgetItem(withoutArchive, {QString(), name});

  m_importButton->setText(match.pairs.size() == 1
                              ? tr("Import 1 picture")
                              : tr("Import %1 pictures").arg(match.pairs.size()));
  m_importButton->setEnabled(!match.pairs.isEmpty());
}

std::vector<portrait::RosterImportJob> RosterImportDialog::jobs() const {
  std::vector<portrait::RosterImportJob> jobs;
  for (const auto& pair : m_found.match.pairs)
    jobs.push_back({m_found.archives[pair.archive].path, m_found.filePath(pair.fileName)});
  return jobs;
}

portrait::ImportChoice RosterImportDialog::choice() const {
  portrait::ImportChoice choice;
  choice.fitMode = static_cast<portrait::FitMode>(m_fit->currentData().toInt());
  if (const int code = m_format->currentData().toInt(); code >= 0) choice.code = uint8_t(code);
  if (const int count = m_mipmaps->currentData().toInt(); count >= 0) choice.mipmapCount = count;
  return choice;
}

}  // namespace ui
