#pragma once

#include <optional>

#include "portrait/picture_import.h"

namespace ui {

// Asks how a picture becomes the portrait: the "Import picture" dialog, or
// scripted answers in tests. Nothing when the user cancelled.
class PictureImportPrompt {
 public:
  virtual ~PictureImportPrompt() = default;
  virtual std::optional<portrait::ImportSettings> ask(portrait::PictureImport& import) = 0;
};

}  // namespace ui
