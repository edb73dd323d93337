#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "portrait/picture_import.h"
#include "portrait/roster_import.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace ui {

// "Import pictures": what a folder of pictures would do to a roster before
// anything is written. It lists the pairs it found (archive and picture), the
// archives with no picture, the pictures with no archive, the archives two
// pictures are named for (left untouched) and, matched by identifier, the
// archives Load refuses; and it takes the fit, pixel format and mipmaps once
// for all, defaulting as the "Import picture" dialog does.
class RosterImportDialog : public QDialog {
  Q_OBJECT

 public:
  RosterImportDialog(QString folder, QStringList archives, QWidget* parent = nullptr);

  const portrait::RosterFolderMatch& found() const { return m_found; }
  // The archive and picture of each pair found.
  std::vector<portrait::RosterImportJob> jobs() const;
  portrait::ImportChoice choice() const;

 private:
  void match();
  void showMatch();

  QString m_folder;
  QStringList m_archives;
  portrait::RosterFolderMatch m_found;
  QComboBox* m_matchBy = nullptr;
  QTreeWidget* m_list = nullptr;
  QComboBox* m_fit = nullptr;
  QComboBox* m_format = nullptr;
  QComboBox* m_mipmaps = nullptr;
  QPushButton* m_importButton = nullptr;
};

}  // namespace ui
