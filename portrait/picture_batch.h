#pragma once

#include <QString>
#include <vector>

#include "common/expected.h"
#include "portrait/picture_import.h"
#include "portrait/portrait_error.h"

namespace portrait {

// One picture file to make into one archive's portrait.
struct PictureImportJob {
  QString archivePath;
  QString picturePath;
  ImportChoice choice;
};

// Each job as importPictureFile() does it, the jobs spread over the machine's
// cores (decoding and encoding a picture is most of a roster's import); the
// results in the jobs' order. Nothing is written.
std::vector<Expected<ImportedPortrait, Error>> importPictureFiles(
    const std::vector<PictureImportJob>& jobs);

}  // namespace portrait
