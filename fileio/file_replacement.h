#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

#include "common/expected.h"
#include "fileio/content_piece.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"
#include "fileio/space_budget.h"

namespace fileio {

class FileReader;

// Replaces the whole content of a file in two steps, so that nothing of the
// file changes until the new content is complete and has been checked:
//
//   auto replacement = FileReplacement::prepare(path, pieces);  // the new content, aside
//   ... check replacement->readPrepared() ...
//   replacement->commit();                                      // it becomes the file's
//
// Normally the content goes to a temporary file in the target's folder, which
// commit() syncs and renames over the target after giving it the old file's
// owner, group, mode and extended attributes: after any failure the old file
// is as it was. A rename cannot keep two cases as they were, which are
// written in place instead, as text editors do: a file with other hard links
// (a rename would split them), and a writable file in a folder this user may
// not write to (no temporary file can be made there). The content is then
// prepared in the system's temporary folder and copied over the file by
// commit(); see the README for what that can lose when it fails halfway. A
// writable file whose rename the folder refuses (a sticky folder such as /tmp,
// where only a file's owner may replace it) is written in place at commit.
//
// The folder is held open from prepare() on, and everything happens through
// it: a folder moved meanwhile gets the new file, and keeps no temporary file.
//
// A replacement that is destroyed without a commit leaves no temporary file.
// A symbolic link is followed: the file it names is replaced, the link stays.
class FileReplacement {
 public:
  enum class Method { Rename, InPlace };
  // Whether commit() syncs the new content itself, or the caller already has
  // (a batch that prepared many files and synced their file system once).
  enum class Sync { File, DoneByCaller };

  static Expected<FileReplacement, FileError> prepare(const QString& path,
                                                      const std::vector<ContentPiece>& pieces);
  // Makes every check prepare() would make for a content of length bytes,
  // and creates nothing: for a dry run. Answers the room the content would
  // take, which must be free now.
  static Expected<SpaceNeed, FileError> check(const QString& path, qint64 length);

  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&& other) noexcept;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  Method method() const { return m_method; }
  // Bytes of the prepared content.
  qint64 length() const { return m_length; }
  // The file being replaced, as the caller named it.
  const QString& path() const { return m_path; }
  // The prepared content, to check before it is committed.
  Expected<FileReader, FileError> readPrepared() const;
  // The temporary file that holds the prepared content, open for writing.
  int preparedHandle() const { return m_prepared.get(); }

  // Makes the prepared content the file's. Once, on a prepared replacement.
  // An in-place write is always synced, whatever sync says.
  Expected<void, FileError> commit(Sync sync = Sync::File);

 private:
  FileReplacement() = default;
  Expected<void, FileError> locate(const QString& path);
  FileError folderError(int errorNumber) const;
  Expected<void, FileError> createBeside();
  Expected<void, FileError> openTarget();
  Expected<void, FileError> createAside();
  Expected<void, FileError> renameOver(Sync sync);
  Expected<void, FileError> writeInPlace();
  void discard();

  QString m_path;        // as the caller named it, for messages
  QString m_folderPath;  // the folder it lies in, after following symbolic links
  FileHandle m_folder;   // that folder, open
  QByteArray m_name;     // the file's name in it
  Method m_method = Method::Rename;
  bool m_existed = false;
  struct stat m_old {};       // the file being replaced, where it existed
  FileHandle m_target;        // the file itself, open for writing, when written in place
  FileHandle m_prepared;      // the new content
  QByteArray m_preparedName;  // the temporary file's name in the folder, when it has one
  qint64 m_length = 0;
};

// Prepares and commits at once: makes the pieces, one after the other, the
// whole content of the file at path, creating it if needed. After a failure
// the old file is as it was (see FileReplacement for writing in place) and no
// temporary file is left; after success the file is exactly as long as the
// pieces.
Expected<void, FileError> replaceFileContents(const QString& path,
                                              const std::vector<ContentPiece>& pieces);
Expected<void, FileError> replaceFileContents(const QString& path, QByteArrayView bytes);

}  // namespace fileio
