#pragma once

#include <QString>

#include "ui/editor_window.h"

class QWidget;

namespace ui {

// Shows a modal message box with an OK button, or a question with Yes and No
// (No the default): the real ones, or a recorder in tests.
class MessageBoxBackend {
 public:
  virtual ~MessageBoxBackend() = default;
  virtual void show(const QString& text, const QString& caption, MessageStyle style) = 0;
  // Whether the user answered Yes.
  virtual bool ask(const QString& question, const QString& caption) = 0;
};

// The message box a user sees. Its text is plain text: a file name or a typed
// identifier in it is shown as it is, never as markup or a link.
class QtMessageBoxBackend : public MessageBoxBackend {
 public:
  explicit QtMessageBoxBackend(QWidget* parent) : m_parent(parent) {}
  void show(const QString& text, const QString& caption, MessageStyle style) override;
  bool ask(const QString& question, const QString& caption) override;

 private:
  QWidget* m_parent;
};

}  // namespace ui
