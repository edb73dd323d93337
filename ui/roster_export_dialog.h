#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>
#include <vector>

#include "portrait/picture_names.h"
#include "portrait/roster_export.h"

class QComboBox;
class QLabel;

namespace ui {

// "Export pictures": the portraits of a roster's archives, each to a file of
// its own in a folder, as PNG pictures or FSH images. Before anything is
// written it says how many files there will be and how many of them replace
// files the folder holds.
class RosterExportDialog : public QDialog {
  Q_OBJECT

 public:
  RosterExportDialog(QStringList archives, QString folder, QWidget* parent = nullptr);

  std::optional<portrait::PictureFormat> picture() const;
  std::vector<portrait::RosterExportJob> jobs() const;

 private:
  void showTargets();

  QStringList m_archives;
  QString m_folder;
  QComboBox* m_format = nullptr;
  QLabel* m_summary = nullptr;
};

}  // namespace ui
