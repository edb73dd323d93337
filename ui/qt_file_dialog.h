#pragma once

#include "ui/com_dlg.h"

class QWidget;

// The file dialog a user sees.
class QtFileDialogBackend : public FileDialogBackend {
 public:
  explicit QtFileDialogBackend(QWidget* parent) : parent_(parent) {}
  std::optional<QString> Show(const DialogRequest& request) override;

 private:
  QWidget* parent_;
};

// "Description (*.ext)|*.ext|..." as Qt's name filters: one "Description (*.ext)"
// per pair.
QStringList QtNameFilters(const QString& filter);
