#pragma once

#include <QStringList>

#include "ui/file_dialog.h"

class QWidget;

// The file dialog a user sees.
class QtFileDialogBackend : public FileDialogBackend {
 public:
  explicit QtFileDialogBackend(QWidget* parent) : m_parent(parent) {}
  Expected<std::optional<QString>, CommandFailure> show(const DialogRequest& request) override;

 private:
  QWidget* m_parent;
};

// "Description (*.ext)|*.ext|..." as Qt's name filters: one "Description (*.ext)"
// per pair.
QStringList qtNameFilters(const QString& filter);

// The suffix of the first pattern of the filter at index (from 0): "png" for
// "PNG pictures (*.png)|*.png"; empty for a pattern such as "*.*".
QString firstSuffix(const QString& filter, int index);
