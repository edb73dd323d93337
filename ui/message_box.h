#pragma once

#include <QString>

#include "archive/editor_window.h"

class QWidget;

// Shows a modal message box with an OK button: the real one, or a recorder in
// tests.
class MessageBoxBackend {
 public:
  virtual ~MessageBoxBackend() = default;
  virtual void Show(const QString& text, const QString& caption, MessageStyle style) = 0;
};

class QtMessageBoxBackend : public MessageBoxBackend {
 public:
  explicit QtMessageBoxBackend(QWidget* parent) : parent_(parent) {}
  void Show(const QString& text, const QString& caption, MessageStyle style) override;

 private:
  QWidget* parent_;
};
