#pragma once

#include <QStringList>
#include <functional>

#include "ui/file_dialog.h"

class QWidget;

namespace ui {

// Asks a question; whether the user answered Yes.
using AskQuestion = std::function<bool(const QString& question, const QString& caption)>;

// The file dialog a user sees. With OverwritePrompt, a Save dialog that chose
// an existing file asks through ask, in Qt's words but as plain text: Qt's own
// question would show a file name with markup as rich text.
class QtFileDialogBackend : public FileDialogBackend {
 public:
  QtFileDialogBackend(QWidget* parent, AskQuestion ask) : m_parent(parent), m_ask(std::move(ask)) {}
  Expected<std::optional<QString>, CommandFailure> show(const DialogRequest& request) override;

 private:
  QWidget* m_parent;
  AskQuestion m_ask;
};

// "Description (*.ext)|*.ext|..." as Qt's name filters: one "Description (*.ext)"
// per pair.
QStringList qtNameFilters(const QString& filter);

// The suffix of the first pattern of the filter at index (from 0): "png" for
// "PNG pictures (*.png)|*.png"; empty for a pattern such as "*.*".
QString firstSuffix(const QString& filter, int index);

}  // namespace ui
