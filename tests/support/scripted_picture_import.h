#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <deque>
#include <optional>
#include <variant>
#include <vector>

#include "ui/picture_import_prompt.h"

// "Import picture" answers given in advance; what each dialog was shown with is kept.
class ScriptedPictureImport : public ui::PictureImportPrompt {
 public:
  void nextAccept(const portrait::ImportSettings& settings) { m_answers.emplace_back(settings); }
  // OK on the settings the dialog opens with.
  void nextAcceptDefaults() { m_answers.emplace_back(Defaults{}); }
  void nextCancel() { m_answers.emplace_back(std::nullopt); }

  std::optional<portrait::ImportSettings> ask(portrait::PictureImport& import) override;

  struct Shown {
    QString pictureName;
    QSize pictureSize;
    QSize portraitSize;
    portrait::ImportSettings defaults;
    QImage picture;
  };
  std::vector<Shown> shown;
  bool exhausted() const { return m_answers.empty(); }

 private:
  struct Defaults {};
  std::deque<std::variant<std::optional<portrait::ImportSettings>, Defaults>> m_answers;
};
