#include "support/scripted_picture_import.h"

#include <gtest/gtest.h>

std::optional<portrait::ImportSettings> ScriptedPictureImport::ask(
    portrait::PictureImport& import) {
  shown.push_back({import.pictureName(), import.picture().size(), import.portraitSize(),
                   import.defaults(), import.picture()});
  if (m_answers.empty()) {
    ADD_FAILURE() << "an Import picture dialog was shown that the test did not expect";
    return std::nullopt;
  }
  auto answer = std::move(m_answers.front());
  m_answers.pop_front();
  if (std::holds_alternative<Defaults>(answer)) return import.defaults();
  return std::get<std::optional<portrait::ImportSettings>>(answer);
}
