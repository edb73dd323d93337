#include "portrait/portrait_error.h"

namespace portrait {

Error Error::archive(archive::ArchiveError error) {
  Error result;
  result.archiveError = std::move(error);
  return result;
}

Error Error::codec(fsh::Error error) {
  Error result;
  result.source = Source::Codec;
  result.codecError = std::move(error);
  return result;
}

Error Error::picture(PictureProblem problem) {
  Error result;
  result.source = Source::Picture;
  result.pictureProblem = problem;
  return result;
}

}  // namespace portrait
