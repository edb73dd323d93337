#include "archive/new_file.h"

namespace archive {

const QString& pathOf(const NewFile& file) {
  return std::visit([](const auto& made) -> const QString& { return made.path(); }, file);
}

Expected<NewFile, ArchiveError> makeFile(const QString& path,
                                         const std::vector<fileio::ContentPiece>& pieces,
                                         Making how) {
  if (how == Making::Prepare) {
    auto prepared = fileio::FileReplacement::prepare(path, pieces);
    if (!prepared) return Unexpected(prepared.error());
    return NewFile(std::move(*prepared));
  }
  PlannedFile planned;
  planned.newLength = fileio::contentLength(pieces);
  auto space = fileio::FileReplacement::check(path, planned.newLength);
  if (!space) return Unexpected(space.error());
  planned.space = std::move(*space);
  if (how == Making::PlanKeepingContent) {
    auto content = fileio::contentBytes(pieces);
    if (!content) return Unexpected(content.error());
    planned.content = std::move(*content);
  }
  return NewFile(std::move(planned));
}

Expected<NewFile, ArchiveError> makeFile(const QString& path, QByteArrayView bytes, Making how) {
  return makeFile(path, std::vector<fileio::ContentPiece>{bytes}, how);
}

Expected<void, ArchiveError> commitMade(Expected<NewFile, ArchiveError> made) {
  if (!made) return Unexpected(made.error());
  return std::get<PreparedFile>(*made).commit();
}

}  // namespace archive
